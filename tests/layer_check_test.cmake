# The layer check on planted trees: each case lays the real docs/ARCHITECTURE.md
# and an empty CMakeLists.txt per layer into a fresh tree, plants one file,
# runs the check and compares its verdict and message with the expected ones.
#   cmake -DPELMORA_SOURCE_DIR=DIR -DWORK_DIR=DIR -P layer_check_test.cmake
cmake_minimum_required(VERSION 3.25)

include(${PELMORA_SOURCE_DIR}/cmake/Layers.cmake)
pelmora_read_layers(${PELMORA_SOURCE_DIR}/docs/ARCHITECTURE.md layers qt_free)

set(failures "")
set(case_count 0)

# case(NAME FILE CONTENT pass|fail MESSAGE_REGEX [FILE CONTENT]...)
function(case name file content verdict message)
  set(tree ${WORK_DIR}/${name})
  file(REMOVE_RECURSE ${tree})
  file(MAKE_DIRECTORY ${tree}/tests)
  configure_file(${PELMORA_SOURCE_DIR}/docs/ARCHITECTURE.md ${tree}/docs/ARCHITECTURE.md COPYONLY)
  foreach(layer IN LISTS layers)
    file(WRITE ${tree}/${layer}/CMakeLists.txt "")
  endforeach()
  set(planted ${file} "${content}" ${ARGN})
  while(planted)
    list(POP_FRONT planted planted_file planted_content)
    file(WRITE ${tree}/${planted_file} "${planted_content}")
  endwhile()
  execute_process(
    COMMAND ${CMAKE_COMMAND} -DPELMORA_SOURCE_DIR=${tree} -P ${PELMORA_SOURCE_DIR}/cmake/CheckLayers.cmake
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(result EQUAL 0)
    set(got pass)
  else()
    set(got fail)
  endif()
  if(NOT got STREQUAL verdict)
    set(failures "${failures}\n${name}: expected ${verdict}, the check said ${got}:\n${output}" PARENT_SCOPE)
  elseif(NOT output MATCHES "${message}")
    set(failures "${failures}\n${name}: the message does not match \"${message}\":\n${output}" PARENT_SCOPE)
  endif()
  math(EXPR n "${case_count} + 1")
  set(case_count ${n} PARENT_SCOPE)
endfunction()

case(standard_library_and_lower_layers evaluation/planted.cpp
  "#include <vector>\n#include \"logic/sentence.h\"\n#include \"evaluation/interpretations.h\"\n"
  pass "layer check: every include keeps to the layers logic < sat < reasoning < evaluation")
case(qt_header_in_evaluation evaluation/planted.cpp
  "#include <vector>\n#include <QString>\n"
  fail "evaluation/planted.cpp: includes <QString>, but evaluation/ is standard C\\+\\+ only")
case(qt_module_header_in_logic logic/planted.h
  "#pragma once\n#include <QtCore/QObject>\n"
  fail "logic/planted.h: includes <QtCore/QObject>")
case(lower_case_qt_header_in_document document/planted.cpp
  "#include <qglobal.h>\n"
  fail "document/planted.cpp: includes <qglobal.h>")
case(spaced_directive_in_diagram diagram/planted.cpp
  "  #  include <QPainter>\n"
  fail "diagram/planted.cpp: includes <QPainter>")
case(qt_header_in_a_subfolder evaluation/inner/planted.cpp
  "#include <QList>\n"
  fail "evaluation/inner/planted.cpp: includes <QList>")
case(qt_linked_in_document document/CMakeLists.txt
  "add_library(planted STATIC planted.cpp)\ntarget_link_libraries(planted PUBLIC Qt6::Core)\n"
  fail "document/CMakeLists.txt: target_link_libraries\\(planted PUBLIC Qt6::Core\\): document/ is standard C\\+\\+ only")
case(window_target_linked_from_document document/CMakeLists.txt
  "target_link_libraries(pelmora_document PUBLIC korvel_logic pelmora_main_window)\n"
  fail "document/CMakeLists.txt: uses pelmora_main_window from window/, a layer above document/"
  window/CMakeLists.txt "add_library(pelmora_main_window STATIC main_form.cpp)\n")
case(lower_target_linked_from_window window/CMakeLists.txt
  "add_library(pelmora_main_window STATIC main_form.cpp)\ntarget_link_libraries(pelmora_main_window PUBLIC pelmora_document)\n"
  pass "layer check: every include keeps"
  document/CMakeLists.txt "add_library(pelmora_document STATIC document.cpp)\n")
case(window_included_from_document document/planted.h
  "#pragma once\n#include \"window/main_form.h\"\n"
  fail "document/planted.h: includes \"window/main_form.h\" from window/, a layer above document/")
case(editing_included_from_diagram diagram/planted.cpp
  "#include \"editing/argument_editor.h\"\n"
  fail "from editing/, a layer above diagram/")
case(qt_and_lower_layers_in_window window/planted.cpp
  "#include <QWidget>\n#include \"document/document.h\"\n#include \"planted.moc\"\n"
  pass "layer check: every include keeps")
case(include_without_folder editing/planted.cpp
  "#include \"argument_editor.h\"\n"
  fail "editing/planted.cpp: includes \"argument_editor.h\" without its folder")
case(test_helper_in_a_layer logic/planted.cpp
  "#include \"tests/evaluation/theory_families.h\"\n"
  fail "no layer uses tests/")
case(folder_that_is_no_layer cli/planted.cpp
  "#include \"workspace/document.h\"\n"
  fail "from workspace/, which is no layer")
case(source_folder_missing_from_the_picture workspace/CMakeLists.txt
  "add_library(x STATIC x.cpp)\n"
  fail "workspace/ holds sources but is no layer")
case(test_folder_that_mirrors_no_layer tests/gui/planted_test.cpp
  "int main() {}\n"
  fail "tests/gui/ mirrors no layer")

if(failures)
  message(FATAL_ERROR "layer check cases failed:${failures}")
endif()
message(STATUS "layer check: ${case_count} planted cases judged as expected")
