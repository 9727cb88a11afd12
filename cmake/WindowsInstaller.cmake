# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows installer barovista-<version>-setup.exe, built with NSIS
# (Debian package nsis) from data/windows/barovista.nsi into the build folder.
find_program(MAKENSIS makensis)
if(MAKENSIS)
  set(BAROVISTA_SETUP ${CMAKE_BINARY_DIR}/barovista-${PROJECT_VERSION}-setup.exe)
  # NSIS stores each file's modification time in the installer; a copy of
  # the program dated SOURCE_DATE_EPOCH (scripts/source-date-epoch) keeps the
  # build's clock out of it.
  set(staged ${CMAKE_BINARY_DIR}/installer/barovista.exe)
  add_custom_command(
    OUTPUT ${BAROVISTA_SETUP}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:barovista> ${staged}
    COMMAND sh ${PROJECT_SOURCE_DIR}/scripts/source-date-epoch ${staged}
    COMMAND ${MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DEXE=${staged}
            -DICON=${PROJECT_SOURCE_DIR}/data/windows/barovista.ico
            -DLICENSE=${PROJECT_SOURCE_DIR}/LICENSE -DOUTFILE=${BAROVISTA_SETUP}
            ${PROJECT_SOURCE_DIR}/data/windows/barovista.nsi
    DEPENDS barovista ${PROJECT_SOURCE_DIR}/data/windows/barovista.nsi
            ${PROJECT_SOURCE_DIR}/scripts/source-date-epoch
            ${PROJECT_SOURCE_DIR}/data/windows/barovista.ico ${PROJECT_SOURCE_DIR}/LICENSE
    COMMENT "Building the installer barovista-${PROJECT_VERSION}-setup.exe"
    VERBATIM)
  add_custom_target(installer ALL DEPENDS ${BAROVISTA_SETUP})
else()
  message(STATUS "makensis not found: no installer (Debian package nsis)")
endif()
