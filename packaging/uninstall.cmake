# Removes what an install from this build folder put in place, as listed in
# its manifest, under $ENV{DESTDIR} when that is set. Run as
#   cmake -D MANIFEST=<build>/install_manifest.txt -D PROGRAM_DIR=lib/ravuriradoz -P uninstall.cmake
# The program's own folder goes too once it is empty; shared folders such as
# bin/ and share/applications/ stay.

if(NOT EXISTS "${MANIFEST}")
  message(FATAL_ERROR "no install manifest at ${MANIFEST}: nothing was installed from this build folder")
endif()

file(STRINGS "${MANIFEST}" installed)
set(program_dirs "")
foreach(path IN LISTS installed)
  set(staged "$ENV{DESTDIR}${path}")
  if(EXISTS "${staged}" OR IS_SYMLINK "${staged}")
    message(STATUS "Removing: ${staged}")
    file(REMOVE "${staged}")
  else()
    message(STATUS "Already gone: ${staged}")
  endif()
  get_filename_component(dir "${path}" DIRECTORY)
  if(dir MATCHES "/${PROGRAM_DIR}$")
    list(APPEND program_dirs "$ENV{DESTDIR}${dir}")
  endif()
endforeach()

list(REMOVE_DUPLICATES program_dirs)
foreach(dir IN LISTS program_dirs)
  file(GLOB left "${dir}/*")
  if(IS_DIRECTORY "${dir}" AND NOT left)
    message(STATUS "Removing: ${dir}")
    file(REMOVE_RECURSE "${dir}")
  endif()
endforeach()
