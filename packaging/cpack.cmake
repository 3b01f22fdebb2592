# The Debian package: `make package` (packaging/build-package.sh) gives
# ravuriradoz_<version>_amd64.deb, installed under /usr. The package links
# arial.ttf to Debian's Liberation Sans instead of carrying a copy. cpack
# lays the package out; build-package.sh packs it again with dpkg-deb, so
# that the same commit gives the same bytes (see there).

set(CPACK_GENERATOR DEB)
# Values reach the CPack configuration as written, backslashes included.
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_NAME ravuriradoz)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "live converter of one number between decimal, hexadecimal and binary")
set(CPACK_PACKAGE_DESCRIPTION
    "A small window with three rows, decimal, hexadecimal and binary, and an\n\
on-screen keypad. Typing a number into one row shows it at once in the two\n\
others; values run from 0 to 4294967295. All texts are in Polish.")
set(RAVURIRADOZ_MAINTAINER "Ravuriradoz Dev <dev@ravuriradoz.invalid>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT "${RAVURIRADOZ_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

# One package made of the runtime files and the font link; the font copy
# and whatever else the project installs stay out.
set(CPACK_COMPONENTS_ALL runtime font_link)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The same address as the copyright file's Source and the AppStream metadata.
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://ravuriradoz.invalid/)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries give Allegro's packages (liballegro5.2 on Debian 12,
# liballegro5.2t64 on 13), X11's and the C and C++ runtimes with their least
# versions. The font is no library: Liberation Sans 2 is fonts-liberation
# from Debian 13 on, and fonts-liberation2 on Debian 12, whose
# fonts-liberation is the older Liberation 1.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation (>= 1:2.1) | fonts-liberation2 (>= 2.1)")

include(CPack)
