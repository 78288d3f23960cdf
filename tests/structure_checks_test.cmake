# The structure checks on small trees written here: each must pass a sound
# tree and name the fault of a broken one.
#
#   cmake -DSEXTANT_ROOT=<repository root> -DWORK_DIR=<scratch> -P structure_checks_test.cmake
cmake_minimum_required(VERSION 3.25)

set(failures "")

# Runs the check script on the tree in dir; expect: PASS or a text that the
# failing run must print.
function(expect name script dir expect)
  execute_process(COMMAND ${CMAKE_COMMAND} -DSEXTANT_ROOT=${dir} -P ${SEXTANT_ROOT}/cmake/${script}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(text "${out}${err}")
  if(expect STREQUAL "PASS")
    if(NOT result EQUAL 0)
      set(failures "${failures}\n${name}: failed on a sound tree:\n${text}" PARENT_SCOPE)
    endif()
  else()
    string(FIND "${text}" "${expect}" at)
    if(result EQUAL 0 OR at EQUAL -1)
      set(failures "${failures}\n${name}: expected a failure naming \"${expect}\", got (${result}):\n${text}" PARENT_SCOPE)
    endif()
  endif()
endfunction()

function(tree dir)  # dir, then path content pairs
  file(REMOVE_RECURSE ${dir})
  set(args ${ARGN})
  while(args)
    list(POP_FRONT args path content)
    file(WRITE ${dir}/${path} "${content}\n")
  endwhile()
endfunction()

# ---- Layers: the real architecture notes over small trees ------------------
set(sound
  platform/value.h "#pragma once"
  canvas/pen.h "#include \"platform/value.h\""
  axes/axis.h "#include \"canvas/pen.h\"\n#include <vector>"
  axes/axis.cpp "#include \"axes/axis.h\"\n#include \"panel/axis_panel.h\""
  series/series.cpp "#include \"marks/series_marks.h\"\n#include \"panel/axis_panel.h\""
  panel/axis_panel.h "#include \"axes/axis.h\""
  platform/qt/widget.h "#include <QWidget>\n#include \"panel/axis_panel.h\""
  app/form.cpp "#include \"platform/qt/widget.h\"")
set(i 0)
foreach(case
    "PASS"
    "axes/bad.h|#include \"panel/axis_panel.h\"|axes/bad.h includes panel/axis_panel.h: panel/ is above axes/"
    "canvas/bad.cpp|#include \"panel/axis_panel.h\"|canvas/bad.cpp includes panel/axis_panel.h"
    "series/bad.cpp|#include \"tools/tool.h\"|series/bad.cpp includes tools/tool.h: tools/ is above series/"
    "platform/bad.h|#include \"canvas/pen.h\"|platform/bad.h includes canvas/pen.h: canvas/ is above platform/"
    "platform/bad.cpp|#include \"platform/qt/widget.h\"|platform/bad.cpp includes platform/qt/widget.h"
    "marks/bad.h|#include <QPainter>|marks/bad.h includes <QPainter>: the engine uses no Qt"
    "platform/qt/bad.cpp|#include \"app/form.h\"|platform/qt/bad.cpp includes app/form.h")
  math(EXPR i "${i} + 1")
  set(dir ${WORK_DIR}/layers${i})
  if(case STREQUAL "PASS")
    tree(${dir} ${sound})
    file(COPY ${SEXTANT_ROOT}/docs/architecture.md DESTINATION ${dir}/docs)
    expect("layers, sound tree" CheckIncludeLayers.cmake ${dir} PASS)
  else()
    string(REPLACE "|" ";" parts "${case}")
    list(GET parts 0 path)
    list(GET parts 1 content)
    list(GET parts 2 message)
    tree(${dir} ${sound} ${path} "${content}")
    file(COPY ${SEXTANT_ROOT}/docs/architecture.md DESTINATION ${dir}/docs)
    expect("layers, ${path}" CheckIncludeLayers.cmake ${dir} "${message}")
  endif()
endforeach()

# ---- Source lists --------------------------------------------------------------
set(lists "set(SEXTANT_ENGINE_SOURCES canvas/pen.cpp)\nset(SEXTANT_ENGINE_HEADERS canvas/pen.h)\nset(SEXTANT_FUZZ_TARGETS fuzz_pen)")
tree(${WORK_DIR}/lists1 cmake/SextantSources.cmake "${lists}" canvas/pen.cpp "//" canvas/pen.h "//" fuzz/fuzz_pen.cpp "//")
expect("lists, sound tree" CheckSourceLists.cmake ${WORK_DIR}/lists1 PASS)
tree(${WORK_DIR}/lists2 cmake/SextantSources.cmake "${lists}" canvas/pen.cpp "//" canvas/pen.h "//" fuzz/fuzz_pen.cpp "//"
  tests/unit/pen_test.cpp "//")
expect("lists, unlisted test" CheckSourceLists.cmake ${WORK_DIR}/lists2 "in no list of cmake/SextantSources.cmake: tests/unit/pen_test.cpp")
tree(${WORK_DIR}/lists3 cmake/SextantSources.cmake "${lists}" canvas/pen.cpp "//" fuzz/fuzz_pen.cpp "//")
expect("lists, listed header gone" CheckSourceLists.cmake ${WORK_DIR}/lists3 "listed but not in the tree: canvas/pen.h")

if(failures)
  message(FATAL_ERROR "${failures}")
endif()
message(STATUS "the structure checks pass sound trees and name every fault")
