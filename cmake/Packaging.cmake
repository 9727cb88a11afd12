# Debian package of the installed program: `make package` (or `cpack` in the
# build folder) writes barovista_<version>_<arch>.deb into the build folder.
# The library dependencies are read from the binary by dpkg-shlibdeps
# (Debian package dpkg-dev), so they name the Qt packages actually linked.

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
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Barovista-Projekt <info@barovista.de>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
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

include(CPack)
