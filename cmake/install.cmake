# Installation: the program and its font in a folder of their own, a launcher
# on the PATH that starts the program there, a desktop entry, an icon, the
# AppStream metadata, a manual page and the changelog.
# `make install` / `make uninstall` / `make package` drive these rules.
#
# Components:
#   runtime    binary, launcher, desktop entry, icon, metadata, manual, changelog
#   font_copy  arial.ttf as a copy of Liberation Sans (plain installs), and a
#              copyright file that covers that copy
#   font_link  arial.ttf as links to Debian's Liberation Sans (the Debian
#              package only; left out of a plain install), and a copyright
#              file for the project's own files alone

# Installing and packaging take the build as it is: `make install` and
# `make package` build first, and the package test under ctest must not
# start compiling the tree.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(RAVURIRADOZ_PROGRAM_DIR lib/ravuriradoz)
set(RAVURIRADOZ_BIN_DIR bin)
set(RAVURIRADOZ_APPLICATIONS_DIR share/applications)
set(RAVURIRADOZ_ICON_DIR share/icons/hicolor/scalable/apps)
set(RAVURIRADOZ_METAINFO_DIR share/metainfo)
set(RAVURIRADOZ_MAN_DIR share/man/man1)
set(RAVURIRADOZ_DOC_DIR share/doc/ravuriradoz)
# Where Debian keeps Liberation Sans 2, which the package links to instead of
# carrying a copy: the same font lies in liberation2/ on Debian 12
# (fonts-liberation2) and in liberation/ on Debian 13 (fonts-liberation), so
# the package holds one link for each place, each in a folder named after
# it, and the launcher runs the program in the first folder whose link leads
# to the font. Newest-first would pick Liberation 1 on a Debian 12 machine
# that has both packages, so the order is the one written here.
set(RAVURIRADOZ_DEBIAN_FONT_DIRS /usr/share/fonts/truetype/liberation2
    /usr/share/fonts/truetype/liberation)
set(RAVURIRADOZ_DEBIAN_FONT_FILE LiberationSans-Regular.ttf)
set(RAVURIRADOZ_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR}/../packaging)
cmake_path(NORMAL_PATH RAVURIRADOZ_PACKAGING_DIR)

install(TARGETS ravuriradoz RUNTIME DESTINATION ${RAVURIRADOZ_PROGRAM_DIR} COMPONENT runtime)
# A stripping install (cpack, `cmake --install --strip`) also drops the
# compiler's notes that plain strip keeps, as Debian's own packages do.
install(CODE "if(CMAKE_INSTALL_DO_STRIP)
  execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${RAVURIRADOZ_PROGRAM_DIR}/ravuriradoz\"
    COMMAND_ERROR_IS_FATAL ANY)
endif()" COMPONENT runtime)

# The launcher finds the program folder relative to its own, so one script
# serves every prefix.
file(RELATIVE_PATH LAUNCHER_TO_PROGRAM_DIR /prefix/${RAVURIRADOZ_BIN_DIR}
     /prefix/${RAVURIRADOZ_PROGRAM_DIR})
set(LAUNCHER_FONT_DIRS "")
foreach(font_dir IN LISTS RAVURIRADOZ_DEBIAN_FONT_DIRS)
  cmake_path(GET font_dir FILENAME font_link_dir)
  string(APPEND LAUNCHER_FONT_DIRS " \"$program_dir/${font_link_dir}\"")
endforeach()
configure_file(${RAVURIRADOZ_PACKAGING_DIR}/ravuriradoz.sh.in
               ${CMAKE_BINARY_DIR}/packaging/ravuriradoz @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/ravuriradoz
        DESTINATION ${RAVURIRADOZ_BIN_DIR} COMPONENT runtime)

install(FILES ${RAVURIRADOZ_PACKAGING_DIR}/ravuriradoz.svg
        DESTINATION ${RAVURIRADOZ_ICON_DIR} COMPONENT runtime)
install(FILES ${RAVURIRADOZ_PACKAGING_DIR}/invalid.ravuriradoz.ravuriradoz.metainfo.xml
        DESTINATION ${RAVURIRADOZ_METAINFO_DIR} COMPONENT runtime)

# The manual page and the changelog go compressed, without gzip's name and
# time stamp, so that the same sources give the same files. Each output is
# written aside and moved into place, so a failed step leaves none behind.
set(RAVURIRADOZ_GZIPPED "")
foreach(doc ravuriradoz.1 changelog)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/${doc}.gz
    COMMAND sh -c "gzip -9n -c \"$1\" > \"$2.part\" && mv \"$2.part\" \"$2\"" sh ${RAVURIRADOZ_PACKAGING_DIR}/${doc}
            ${CMAKE_BINARY_DIR}/packaging/${doc}.gz
    DEPENDS ${RAVURIRADOZ_PACKAGING_DIR}/${doc}
    VERBATIM)
  list(APPEND RAVURIRADOZ_GZIPPED ${CMAKE_BINARY_DIR}/packaging/${doc}.gz)
endforeach()
# A plain install copies the font, so its copyright file covers that copy.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/copyright-with-font
  COMMAND sh -c "cat \"$1\" \"$2\" > \"$3.part\" && mv \"$3.part\" \"$3\"" sh ${RAVURIRADOZ_PACKAGING_DIR}/copyright
          ${RAVURIRADOZ_PACKAGING_DIR}/copyright-font ${CMAKE_BINARY_DIR}/packaging/copyright-with-font
  DEPENDS ${RAVURIRADOZ_PACKAGING_DIR}/copyright ${RAVURIRADOZ_PACKAGING_DIR}/copyright-font
  VERBATIM)
add_custom_target(ravuriradoz_docs ALL
  DEPENDS ${RAVURIRADOZ_GZIPPED} ${CMAKE_BINARY_DIR}/packaging/copyright-with-font)
install(FILES ${CMAKE_BINARY_DIR}/packaging/ravuriradoz.1.gz
        DESTINATION ${RAVURIRADOZ_MAN_DIR} COMPONENT runtime)
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${RAVURIRADOZ_DOC_DIR} COMPONENT runtime)
install(FILES ${CMAKE_BINARY_DIR}/packaging/copyright-with-font
        DESTINATION ${RAVURIRADOZ_DOC_DIR} RENAME copyright COMPONENT font_copy)
install(FILES ${RAVURIRADOZ_PACKAGING_DIR}/copyright
        DESTINATION ${RAVURIRADOZ_DOC_DIR} COMPONENT font_link EXCLUDE_FROM_ALL)

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

# Relative links, as Debian wants for links that stay inside /usr.
foreach(font_dir IN LISTS RAVURIRADOZ_DEBIAN_FONT_DIRS)
  cmake_path(GET font_dir FILENAME font_link_dir)
  set(font_link_folder ${CMAKE_BINARY_DIR}/packaging/font-link/${font_link_dir})
  file(RELATIVE_PATH font_link /usr/${RAVURIRADOZ_PROGRAM_DIR}/${font_link_dir}
       ${font_dir}/${RAVURIRADOZ_DEBIAN_FONT_FILE})
  file(MAKE_DIRECTORY ${font_link_folder})
  file(CREATE_LINK ${font_link} ${font_link_folder}/arial.ttf SYMBOLIC)
  install(FILES ${font_link_folder}/arial.ttf
          DESTINATION ${RAVURIRADOZ_PROGRAM_DIR}/${font_link_dir} COMPONENT font_link EXCLUDE_FROM_ALL)
endforeach()

include(${RAVURIRADOZ_PACKAGING_DIR}/cpack.cmake)

# `cmake --build <dir> --target uninstall`; honours DESTDIR like the install.
# The folders the project owns are written into a script of the build folder,
# which the staged-install test runs too.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/packaging/uninstall.cmake
  CONTENT "set(OWN_DIRS \"${RAVURIRADOZ_PROGRAM_DIR};${RAVURIRADOZ_DOC_DIR}\")
include(\"${RAVURIRADOZ_PACKAGING_DIR}/uninstall.cmake\")
")
add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -D MANIFEST=${CMAKE_BINARY_DIR}/install_manifest.txt
          -P ${CMAKE_BINARY_DIR}/packaging/uninstall.cmake
  VERBATIM)
