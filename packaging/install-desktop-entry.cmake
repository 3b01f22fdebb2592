# Runs at install time, inside the generated install script: writes the
# desktop entry with the launcher's full path under the prefix in use and
# records it in the install manifest, so that uninstalling removes it too.
# Expects RAVURIRADOZ_DESKTOP_TEMPLATE, RAVURIRADOZ_DESKTOP_DIR and
# RAVURIRADOZ_LAUNCHER (the last two relative to the prefix).

# An Exec value is split like a shell word list, and the entry file itself
# gives backslashes a meaning: quote a path that needs it, then escape the
# backslashes again for the file.
function(ravuriradoz_exec_value path out)
  string(REPLACE "%" "%%" value "${path}")
  if(value MATCHES "[ \t\n\"'\\\\><~|&;$*?#()`]")
    string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" value "${value}")
    set(value "\"${value}\"")
  endif()
  string(REPLACE "\\" "\\\\" value "${value}")
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

ravuriradoz_exec_value("${CMAKE_INSTALL_PREFIX}/${RAVURIRADOZ_LAUNCHER}" LAUNCHER_PATH)
# The manifest lists paths without DESTDIR, as the other install rules do.
set(entry "${CMAKE_INSTALL_PREFIX}/${RAVURIRADOZ_DESKTOP_DIR}/ravuriradoz.desktop")
set(staged_entry "$ENV{DESTDIR}${entry}")
message(STATUS "Installing: ${staged_entry}")
configure_file("${RAVURIRADOZ_DESKTOP_TEMPLATE}" "${staged_entry}" @ONLY)
file(CHMOD "${staged_entry}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${entry}")
