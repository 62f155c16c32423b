# Removes what an installation put down, as listed in its manifest, and then
# the directories that became empty, up to but not including the prefix.
#   cmake -DMANIFEST=path/install_manifest.txt -DPREFIX=/install/prefix -P Uninstall.cmake
# The build's `uninstall` target runs this with the build's manifest and
# CMAKE_INSTALL_PREFIX. Paths may contain spaces.
if(NOT DEFINED MANIFEST OR NOT EXISTS "${MANIFEST}")
  message(FATAL_ERROR "No install manifest at '${MANIFEST}': nothing was installed from this build.")
endif()
if(NOT DEFINED PREFIX)
  message(FATAL_ERROR "PREFIX is not set.")
endif()
get_filename_component(prefix "$ENV{DESTDIR}${PREFIX}" ABSOLUTE)

file(STRINGS "${MANIFEST}" installed)
set(parents)
foreach(path IN LISTS installed)
  if(IS_SYMLINK "${path}" OR EXISTS "${path}")
    message(STATUS "Removing ${path}")
    file(REMOVE "${path}")
    if(EXISTS "${path}")
      message(FATAL_ERROR "Could not remove ${path}")
    endif()
  endif()
  get_filename_component(parent "${path}" DIRECTORY)
  list(APPEND parents "${parent}")
endforeach()

# Walk up from each file's directory while the directory is empty and lies
# below the prefix. Deepest paths first, so a parent sees its children gone.
list(REMOVE_DUPLICATES parents)
list(SORT parents)
list(REVERSE parents)
foreach(directory IN LISTS parents)
  while(IS_DIRECTORY "${directory}" AND NOT directory STREQUAL prefix)
    string(FIND "${directory}/" "${prefix}/" at)
    if(NOT at EQUAL 0)
      break()
    endif()
    # rmdir removes a directory only when it is empty (a glob would read
    # brackets in the path as a pattern).
    execute_process(COMMAND rmdir -- "${directory}" RESULT_VARIABLE not_removed
                    OUTPUT_QUIET ERROR_QUIET)
    if(not_removed)
      break()
    endif()
    get_filename_component(directory "${directory}" DIRECTORY)
  endwhile()
endforeach()
