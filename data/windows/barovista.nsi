; SPDX-License-Identifier: GPL-3.0-or-later
; Installer of Barovista: the program, a Start-menu entry and an uninstaller,
; entered in the list of installed programs. Built by the CMake target
; "installer" (cmake/WindowsInstaller.cmake):
;   makensis -DVERSION=<version> -DEXE=barovista.exe -DICON=barovista.ico
;            -DLICENSE=LICENSE -DOUTFILE=barovista-<version>-setup.exe barovista.nsi
; Installer and uninstaller also run silently with /S. The history in
; %APPDATA%\barovista belongs to the user: the uninstaller leaves it alone.
; Neither of them works while Barovista runs: they ask the user to close it
; (silently they end with status 2), so the program is never half replaced
; or left behind.
Unicode true
; A 64-bit installer for the 64-bit program: it writes the 64-bit registry
; and installs into the 64-bit program folder.
Target amd64-unicode
SetCompressor /SOLID lzma
!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Barovista"

Name "Barovista ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Barovista"
RequestExecutionLevel admin
BrandingText "Barovista ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
; The GPL grants rights and asks for no consent: the page shows it, and
; "Weiter" goes on.
!define MUI_LICENSEPAGE_TEXT_TOP "Barovista ist freie Software unter der GNU General Public License, Version 3 oder später."
!define MUI_LICENSEPAGE_TEXT_BOTTOM "Um Barovista zu benutzen, müssen Sie nichts annehmen. Die Lizenz sagt, wie Sie es weitergeben und verändern dürfen."
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
; The installer runs with an administrator's rights, perhaps as another user
; whose password was typed in: a program started from here would run as that
; user and keep its history in that user's folder. So the finish page only
; says where to start it.
!define MUI_FINISHPAGE_TEXT "Barovista ist installiert. Sie starten es im Startmenü."
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

; Waits until no Barovista runs (the program holds the mutex
; "Global\Barovista"): the user closes it and tries again, or cancels. A
; mutex of another user's session cannot be opened, but "access denied" says
; just as well that it exists.
!macro WAIT_UNTIL_CLOSED PREFIX
Function ${PREFIX}waitUntilClosed
    check:
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "Global\Barovista") p .r0 ?e'
    Pop $1
    ${If} $0 P<> 0
        System::Call 'kernel32::CloseHandle(p r0)'
    ${ElseIf} $1 <> 5
        Return
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "Barovista läuft noch. Bitte schließen Sie alle Barovista-Fenster und klicken Sie dann auf Wiederholen." \
        /SD IDCANCEL IDRETRY check
    SetErrorLevel 2
    Quit
FunctionEnd
!macroend
!insertmacro WAIT_UNTIL_CLOSED ""
!insertmacro WAIT_UNTIL_CLOSED "un."

Function .onInit
    Call waitUntilClosed
FunctionEnd

Function un.onInit
    Call un.waitUntilClosed
FunctionEnd

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
    ; The size column of "Apps", in KiB.
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

; Removes what the installer put in place, nothing else: the history in
; %APPDATA%\barovista stays.
Section "Uninstall"
    SetShellVarContext all
    ; The program first: while it cannot be removed (a Barovista started
    ; after the check), everything stays as it was, the entry among the
    ; installed programs included, and the uninstall reports failure.
    Delete "$INSTDIR\barovista.exe"
    ${If} ${FileExists} "$INSTDIR\barovista.exe"
        MessageBox MB_OK|MB_ICONSTOP "$INSTDIR\barovista.exe konnte nicht entfernt werden. Bitte schließen Sie Barovista und deinstallieren Sie es noch einmal." /SD IDOK
        SetErrorLevel 2
        Abort
    ${EndIf}
    Delete "$SMPROGRAMS\Barovista.lnk"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINST_KEY}"
SectionEnd
