# The layer folders and which of them may use Qt, read from the picture of the
# layers in docs/ARCHITECTURE.md, where the order is written once. Each line
# of that picture reads "  FOLDER/  Qt|-  what lives there", the top layer
# first; "Qt" marks a folder whose files may include Qt headers.
#
# pelmora_read_layers(ARCHITECTURE_FILE LAYERS_VAR QT_FREE_VAR) sets
# LAYERS_VAR to the folders bottom first and QT_FREE_VAR to those that are
# standard C++ only.
function(pelmora_read_layers architecture_file layers_var qt_free_var)
  if(NOT EXISTS "${architecture_file}")
    message(FATAL_ERROR "The layer order is read from ${architecture_file}, which is missing.")
  endif()
  # Configure again when the picture changes.
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${architecture_file}")
  file(STRINGS "${architecture_file}" rows REGEX "^  [a-z_]+/ +(Qt|-) ")
  set(layers "")
  set(qt_free "")
  foreach(row IN LISTS rows)
    string(REGEX MATCH "^  ([a-z_]+)/ +(Qt|-) " _ "${row}")
    set(folder "${CMAKE_MATCH_1}")
    if(folder IN_LIST layers)
      message(FATAL_ERROR "${architecture_file} lists the layer ${folder}/ twice.")
    endif()
    list(PREPEND layers "${folder}")
    if(CMAKE_MATCH_2 STREQUAL "-")
      list(PREPEND qt_free "${folder}")
    endif()
  endforeach()
  if(NOT layers)
    message(FATAL_ERROR "${architecture_file} shows no layers: each layer is a line \"  FOLDER/  Qt|-  what lives there\".")
  endif()
  set(${layers_var} "${layers}" PARENT_SCOPE)
  set(${qt_free_var} "${qt_free}" PARENT_SCOPE)
endfunction()
