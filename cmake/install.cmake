# Installation: the program and its font in a folder of their own, a launcher
# on the PATH that starts the program there, a desktop entry and an icon.
# `make install` / `make uninstall` / `make package` drive these rules.
#
# Components:
#   runtime    binary, launcher, desktop entry, icon
#   font_copy  arial.ttf as a copy of Liberation Sans (plain installs)
#   font_link  arial.ttf as a link into fonts-liberation2 (the Debian package
#              only; left out of a plain install)

# Installing and packaging take the build as it is: `make install` and
# `make package` build first, and the package test under ctest must not
# start compiling the tree.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(RAVURIRADOZ_PROGRAM_DIR lib/ravuriradoz)
set(RAVURIRADOZ_BIN_DIR bin)
set(RAVURIRADOZ_APPLICATIONS_DIR share/applications)
set(RAVURIRADOZ_ICON_DIR share/icons/hicolor/scalable/apps)
# Where the Debian package fonts-liberation2 puts the font the package links to.
set(RAVURIRADOZ_DEBIAN_FONT /usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf)
set(RAVURIRADOZ_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR}/../packaging)
cmake_path(NORMAL_PATH RAVURIRADOZ_PACKAGING_DIR)

install(TARGETS ravuriradoz RUNTIME DESTINATION ${RAVURIRADOZ_PROGRAM_DIR} COMPONENT runtime)

# The launcher finds the program folder relative to its own, so one script
# serves every prefix.
file(RELATIVE_PATH LAUNCHER_TO_PROGRAM_DIR /prefix/${RAVURIRADOZ_BIN_DIR}
     /prefix/${RAVURIRADOZ_PROGRAM_DIR})
configure_file(${RAVURIRADOZ_PACKAGING_DIR}/ravuriradoz.sh.in
               ${CMAKE_BINARY_DIR}/packaging/ravuriradoz @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/ravuriradoz
        DESTINATION ${RAVURIRADOZ_BIN_DIR} COMPONENT runtime)

install(FILES ${RAVURIRADOZ_PACKAGING_DIR}/ravuriradoz.svg
        DESTINATION ${RAVURIRADOZ_ICON_DIR} COMPONENT runtime)

# The desktop entry names the launcher by its full path, which is known only
# when installing (`cmake --install --prefix` may change it), so it is
# written then.
install(CODE "set(RAVURIRADOZ_DESKTOP_TEMPLATE \"${RAVURIRADOZ_PACKAGING_DIR}/ravuriradoz.desktop.in\")
set(RAVURIRADOZ_DESKTOP_DIR \"${RAVURIRADOZ_APPLICATIONS_DIR}\")
set(RAVURIRADOZ_LAUNCHER \"${RAVURIRADOZ_BIN_DIR}/ravuriradoz\")"
        COMPONENT runtime)
install(SCRIPT ${RAVURIRADOZ_PACKAGING_DIR}/install-desktop-entry.cmake COMPONENT runtime)

install(FILES ${LIBERATION_SANS} DESTINATION ${RAVURIRADOZ_PROGRAM_DIR} RENAME arial.ttf
        COMPONENT font_copy)

# A relative link, as Debian wants for links that stay inside /usr.
file(RELATIVE_PATH RAVURIRADOZ_FONT_LINK /usr/${RAVURIRADOZ_PROGRAM_DIR} ${RAVURIRADOZ_DEBIAN_FONT})
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging/font-link)
file(CREATE_LINK ${RAVURIRADOZ_FONT_LINK} ${CMAKE_BINARY_DIR}/packaging/font-link/arial.ttf SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/packaging/font-link/arial.ttf
        DESTINATION ${RAVURIRADOZ_PROGRAM_DIR} COMPONENT font_link EXCLUDE_FROM_ALL)

include(${RAVURIRADOZ_PACKAGING_DIR}/cpack.cmake)

# `cmake --build <dir> --target uninstall`; honours DESTDIR like the install.
add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -D MANIFEST=${CMAKE_BINARY_DIR}/install_manifest.txt
          -D PROGRAM_DIR=${RAVURIRADOZ_PROGRAM_DIR} -P ${RAVURIRADOZ_PACKAGING_DIR}/uninstall.cmake
  VERBATIM)
