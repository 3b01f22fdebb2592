# Removes what an install from this build folder put in place, as listed in
# its manifest, under $ENV{DESTDIR} when that is set. Run through the build
# folder's packaging/uninstall.cmake, which sets OWN_DIRS:
#   cmake -D MANIFEST=<build>/install_manifest.txt -P <build>/packaging/uninstall.cmake
# The program's own folders (OWN_DIRS, relative to the prefix) go too once
# they are empty; shared folders such as bin/ and share/applications/ stay.

if(NOT EXISTS "${MANIFEST}")
  message(FATAL_ERROR "no install manifest at ${MANIFEST}: nothing was installed from this build folder")
endif()

file(STRINGS "${MANIFEST}" installed)
set(own_dirs "")
foreach(path IN LISTS installed)
  set(staged "$ENV{DESTDIR}${path}")
  if(EXISTS "${staged}" OR IS_SYMLINK "${staged}")
    message(STATUS "Removing: ${staged}")
    file(REMOVE "${staged}")
  else()
    message(STATUS "Already gone: ${staged}")
  endif()
  get_filename_component(dir "${path}" DIRECTORY)
  foreach(own IN LISTS OWN_DIRS)
    string(LENGTH "/${own}" own_length)
    string(LENGTH "${dir}" dir_length)
    if(dir_length GREATER_EQUAL own_length)
      math(EXPR tail_start "${dir_length} - ${own_length}")
      string(SUBSTRING "${dir}" ${tail_start} -1 tail)
      if(tail STREQUAL "/${own}")
        list(APPEND own_dirs "$ENV{DESTDIR}${dir}")
      endif()
    endif()
  endforeach()
endforeach()

list(REMOVE_DUPLICATES own_dirs)
foreach(dir IN LISTS own_dirs)
  file(GLOB left "${dir}/*")
  if(IS_DIRECTORY "${dir}" AND NOT left)
    message(STATUS "Removing: ${dir}")
    file(REMOVE_RECURSE "${dir}")
  endif()
endforeach()
