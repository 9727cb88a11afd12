# SPDX-License-Identifier: GPL-3.0-or-later
# Debian package of the installed program: `make package` runs
# scripts/build-package, which configures a build folder of its own with
# Debian's build flags and writes barovista_<version>-<revision>_<arch>.deb
# there. The library dependencies are read from the binary by dpkg-shlibdeps
# (Debian package dpkg-dev), so they name the Qt packages actually linked.

# The package version is the top entry of debian/changelog, whose upstream
# part must be this project's version.
set(barovista_changelog ${PROJECT_SOURCE_DIR}/debian/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${barovista_changelog})
file(STRINGS ${barovista_changelog} barovista_changelog_top LIMIT_COUNT 1)
if(NOT barovista_changelog_top MATCHES "^barovista \\(([^-)]+)-([^-)]+)\\) ")
  message(FATAL_ERROR "debian/changelog: the top line is not \"barovista (<version>-<revision>) ...\"")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "debian/changelog is at version ${CMAKE_MATCH_1}, the project at ${PROJECT_VERSION}")
endif()
set(CPACK_DEBIAN_PACKAGE_RELEASE ${CMAKE_MATCH_2})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME barovista)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Barovista-Projekt")
set(CPACK_PACKAGE_CONTACT "Barovista-Projekt <info@barovista.de>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "air pressure calculator for barometer owners")
set(CPACK_PACKAGE_DESCRIPTION
    "Barovista reduces the absolute air pressure that a barometer shows to sea
level with the international barometric formula, shows the mean pressure for
the altitude, marks the result on a pressure scale and compares the barometer
with the sea-level pressure published by a weather service. It keeps a short
history of measurements. The user interface is German.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Strips the binary; the install rule in src/ then also drops the sections a
# stripped binary does not need, as Debian's dh_strip does.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Barovista-Projekt <info@barovista.de>")
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.barovista.de")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window is laid out for Arial's metrics; Liberation Sans is its twin.
# DejaVu gives fontconfig's "sans-serif" (the menu bar, the message boxes) a
# proportional font: with Liberation alone it resolves to Liberation Mono.
# qt6-wayland lets the program run natively under a Wayland compositor.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-dejavu-core, qt6-wayland")
# German texts for Qt's own edit menu in the input fields.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")

# Lintian's remarks that do not apply to this package, each with its reason.
install(FILES ${PROJECT_SOURCE_DIR}/debian/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME barovista)

include(CPack)
