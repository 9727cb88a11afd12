; SPDX-License-Identifier: GPL-3.0-or-later
; Installer of Barovista: the program, a Start-menu entry and an uninstaller,
; entered in the list of installed programs. Built by the CMake target
; "installer" (cmake/WindowsInstaller.cmake):
;   makensis -DVERSION=1.1 -DEXE=barovista.exe -DICON=barovista.ico
;            -DOUTFILE=barovista-1.1-setup.exe barovista.nsi
; Installer and uninstaller also run silently with /S. The history in
; %APPDATA%\barovista belongs to the user: the uninstaller leaves it alone.
Unicode true
; A 64-bit installer for the 64-bit program: it writes the 64-bit registry
; and installs into the 64-bit program folder.
Target amd64-unicode
SetCompressor /SOLID lzma
!include "MUI2.nsh"

!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Barovista"

Name "Barovista ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Barovista"
RequestExecutionLevel admin
BrandingText "Barovista ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\barovista.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductName" "Barovista"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileDescription" "Barovista ${VERSION} Setup"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "CompanyName" "Barovista-Projekt"
VIAddVersionKey /LANG=${LANG_GERMAN} "LegalCopyright" "Barovista-Projekt"

Section "Barovista"
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File "/oname=barovista.exe" "${EXE}"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Barovista.lnk" "$INSTDIR\barovista.exe" "" "$INSTDIR\barovista.exe" 0

    WriteRegStr HKLM "${UNINST_KEY}" "DisplayName" "Barovista"
    WriteRegStr HKLM "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINST_KEY}" "Publisher" "Barovista-Projekt"
    WriteRegStr HKLM "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\barovista.exe"
    WriteRegStr HKLM "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1
SectionEnd

; Removes what the installer put in place, nothing else: the history in
; %APPDATA%\barovista stays.
Section "Uninstall"
    SetShellVarContext all
    Delete "$SMPROGRAMS\Barovista.lnk"
    Delete "$INSTDIR\barovista.exe"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINST_KEY}"
SectionEnd
