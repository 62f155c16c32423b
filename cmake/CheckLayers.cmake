# The layer check: cmake -DPELMORA_SOURCE_DIR=DIR -P CheckLayers.cmake
#
# Reads the layer order from DIR/docs/ARCHITECTURE.md and fails, naming each
# file and include at fault, when
#  - a file in a folder marked standard C++ only includes a Qt header, or
#    its CMakeLists.txt links Qt;
#  - a file includes from a folder above its own, or from tests/, fuzz/ or
#    bench/, or a folder's CMakeLists.txt uses a target of a folder above;
#  - a project include does not name its folder ("logic/sentence.h");
#  - a source folder (one with a CMakeLists.txt) is missing from the picture,
#    or the picture names a folder that is not there;
#  - a folder under tests/ mirrors no layer.
cmake_minimum_required(VERSION 3.25)

if(NOT PELMORA_SOURCE_DIR)
  message(FATAL_ERROR "usage: cmake -DPELMORA_SOURCE_DIR=DIR -P CheckLayers.cmake")
endif()
include(${CMAKE_CURRENT_LIST_DIR}/Layers.cmake)
pelmora_read_layers(${PELMORA_SOURCE_DIR}/docs/ARCHITECTURE.md layers qt_free)

# Folders outside the order: they may use every layer, and no layer uses them.
set(outside tests fuzz bench)
# Folders that hold no C++ of the program.
set(not_source resources cmake docs scripts)
# Test folders that hold data rather than the tests of a layer.
set(test_data data)

set(faults "")
macro(fault text)
  list(APPEND faults "${text}")
endmacro()

# Every listed layer exists, and every source folder is listed.
foreach(layer IN LISTS layers)
  if(NOT EXISTS ${PELMORA_SOURCE_DIR}/${layer}/CMakeLists.txt)
    fault("docs/ARCHITECTURE.md lists the layer ${layer}/, which has no CMakeLists.txt")
  endif()
endforeach()
file(GLOB top_entries RELATIVE ${PELMORA_SOURCE_DIR} ${PELMORA_SOURCE_DIR}/*)
foreach(entry IN LISTS top_entries)
  if(IS_DIRECTORY ${PELMORA_SOURCE_DIR}/${entry} AND EXISTS ${PELMORA_SOURCE_DIR}/${entry}/CMakeLists.txt
     AND NOT entry IN_LIST layers AND NOT entry IN_LIST outside AND NOT entry IN_LIST not_source)
    fault("${entry}/ holds sources but is no layer of the picture in docs/ARCHITECTURE.md")
  endif()
endforeach()

# A folder of standard C++ links no Qt either.
foreach(layer IN LISTS qt_free)
  if(EXISTS ${PELMORA_SOURCE_DIR}/${layer}/CMakeLists.txt)
    file(STRINGS ${PELMORA_SOURCE_DIR}/${layer}/CMakeLists.txt qt_lines REGEX "Qt6?::|find_package\\(Qt")
    foreach(line IN LISTS qt_lines)
      string(STRIP "${line}" line)
      fault("${layer}/CMakeLists.txt: ${line}: ${layer}/ is standard C++ only")
    endforeach()
  endif()
endforeach()

# No folder's build links a target of a folder above it: the targets each
# layer defines, then the lines of every lower layer that name one of them.
foreach(layer IN LISTS layers)
  set(targets_of_${layer} "")
  if(EXISTS ${PELMORA_SOURCE_DIR}/${layer}/CMakeLists.txt)
    file(STRINGS ${PELMORA_SOURCE_DIR}/${layer}/CMakeLists.txt definitions REGEX "add_(library|executable)\\(")
    foreach(line IN LISTS definitions)
      if(line MATCHES "add_(library|executable)\\([ \t]*([A-Za-z0-9_]+)")
        list(APPEND targets_of_${layer} ${CMAKE_MATCH_2})
      endif()
    endforeach()
  endif()
endforeach()
foreach(layer IN LISTS layers)
  if(NOT EXISTS ${PELMORA_SOURCE_DIR}/${layer}/CMakeLists.txt)
    continue()
  endif()
  list(FIND layers ${layer} level)
  file(STRINGS ${PELMORA_SOURCE_DIR}/${layer}/CMakeLists.txt build_lines)
  foreach(upper IN LISTS layers)
    list(FIND layers ${upper} upper_level)
    if(upper_level LESS_EQUAL level)
      continue()
    endif()
    foreach(target IN LISTS targets_of_${upper})
      foreach(line IN LISTS build_lines)
        if(line MATCHES "(^|[^A-Za-z0-9_])${target}([^A-Za-z0-9_]|$)" AND NOT line MATCHES "^[ \t]*#")
          fault("${layer}/CMakeLists.txt: uses ${target} from ${upper}/, a layer above ${layer}/")
        endif()
      endforeach()
    endforeach()
  endforeach()
endforeach()

# The tests mirror the layers.
file(GLOB test_entries RELATIVE ${PELMORA_SOURCE_DIR}/tests ${PELMORA_SOURCE_DIR}/tests/*)
foreach(entry IN LISTS test_entries)
  if(IS_DIRECTORY ${PELMORA_SOURCE_DIR}/tests/${entry} AND NOT entry IN_LIST layers
     AND NOT entry IN_LIST test_data)
    fault("tests/${entry}/ mirrors no layer: the tests of FOLDER/ go in tests/FOLDER/")
  endif()
endforeach()

# The includes of every file of every layer.
foreach(layer IN LISTS layers)
  list(FIND layers ${layer} level)
  file(GLOB_RECURSE sources RELATIVE ${PELMORA_SOURCE_DIR}
    ${PELMORA_SOURCE_DIR}/${layer}/*.h ${PELMORA_SOURCE_DIR}/${layer}/*.hpp ${PELMORA_SOURCE_DIR}/${layer}/*.cpp)
  foreach(source IN LISTS sources)
    file(STRINGS ${PELMORA_SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS includes)
      # A semicolon in a trailing comment splits a line into two entries.
      if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*[<\"]")
        continue()
      endif()
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*" "" target "${line}")
      string(REGEX REPLACE "^([<\"][^>\"]*[>\"]).*" "\\1" target "${target}")
      if(target MATCHES "^<")
        # Qt's headers: <QString>, <QtCore/QString>, <QtWidgets>, <qglobal.h>.
        if(layer IN_LIST qt_free AND target MATCHES "^<(Q[A-Za-z0-9_]*[>/]|q[a-z0-9_]*\\.h>)")
          fault("${source}: includes ${target}, but ${layer}/ is standard C++ only")
        endif()
        continue()
      endif()
      string(REGEX REPLACE "^\"(.*)\"$" "\\1" path "${target}")
      # What moc writes into the build directory.
      if(path MATCHES "^[^/]*\\.moc$" OR path MATCHES "^moc_[^/]*\\.cpp$")
        continue()
      endif()
      if(NOT path MATCHES "/")
        fault("${source}: includes \"${path}\" without its folder; write \"FOLDER/${path}\"")
        continue()
      endif()
      string(REGEX REPLACE "/.*" "" folder "${path}")
      if(folder IN_LIST outside)
        fault("${source}: includes \"${path}\"; no layer uses ${folder}/")
      elseif(folder IN_LIST layers)
        list(FIND layers ${folder} used_level)
        if(used_level GREATER level)
          fault("${source}: includes \"${path}\" from ${folder}/, a layer above ${layer}/")
        endif()
      else()
        fault("${source}: includes \"${path}\" from ${folder}/, which is no layer")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  list(LENGTH faults count)
  list(JOIN faults "\n  " listed)
  message(FATAL_ERROR "layer check: ${count} fault(s):\n  ${listed}\n"
    "The layers and their order are in docs/ARCHITECTURE.md.")
endif()
list(JOIN layers " < " order)
message(STATUS "layer check: every include keeps to the layers ${order}")
