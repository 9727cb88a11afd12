# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows installer barovista-<version>-setup.exe, built with NSIS
# (Debian package nsis) from data/windows/barovista.nsi into the build folder.
find_program(MAKENSIS makensis)
if(MAKENSIS)
  set(BAROVISTA_SETUP ${CMAKE_BINARY_DIR}/barovista-${PROJECT_VERSION}-setup.exe)
  add_custom_command(
    OUTPUT ${BAROVISTA_SETUP}
    COMMAND ${MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DEXE=$<TARGET_FILE:barovista>
            -DICON=${PROJECT_SOURCE_DIR}/data/windows/barovista.ico
            -DLICENSE=${PROJECT_SOURCE_DIR}/LICENSE -DOUTFILE=${BAROVISTA_SETUP}
            ${PROJECT_SOURCE_DIR}/data/windows/barovista.nsi
    DEPENDS barovista ${PROJECT_SOURCE_DIR}/data/windows/barovista.nsi
            ${PROJECT_SOURCE_DIR}/data/windows/barovista.ico ${PROJECT_SOURCE_DIR}/LICENSE
    COMMENT "Building the installer barovista-${PROJECT_VERSION}-setup.exe"
    VERBATIM)
  add_custom_target(installer ALL DEPENDS ${BAROVISTA_SETUP})
else()
  message(STATUS "makensis not found: no installer (Debian package nsis)")
endif()
