# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the POSIX
# thread model, which std::thread and Qt need). Used for the static Qt and
# for Barovista itself (scripts/build-windows).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(BAROVISTA_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${BAROVISTA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BAROVISTA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${BAROVISTA_MINGW_PREFIX}-windres)
set(CMAKE_AR ${BAROVISTA_MINGW_PREFIX}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${BAROVISTA_MINGW_PREFIX}-gcc-ranlib-posix CACHE FILEPATH "")

# Libraries and headers come from the MinGW sysroot and the prefixes handed
# in with CMAKE_PREFIX_PATH (the static Qt); programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${BAROVISTA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
