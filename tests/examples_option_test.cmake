# SEXTANT_BUILD_EXAMPLES: configured ON the tree has the example programs,
# configured OFF it has none of them and still the libraries and the demo
# program chartdemo.
#
#   cmake -DSEXTANT_ROOT=<repository root> -DWORK_DIR=<scratch> -DGENERATOR=<generator>
#         -DCXX_COMPILER=<compiler> -P examples_option_test.cmake
cmake_minimum_required(VERSION 3.25)

set(examples bigdata_example export_example quick_example)
set(always sextant_engine sextant_qt chartdemo)

# The names of the targets of the tree configured with the option.
function(targets option out)
  set(dir ${WORK_DIR}/${option})
  file(REMOVE_RECURSE ${dir})
  execute_process(
    COMMAND ${CMAKE_COMMAND} -S ${SEXTANT_ROOT} -B ${dir} -G ${GENERATOR} -DCMAKE_CXX_COMPILER=${CXX_COMPILER}
      -DSEXTANT_BUILD_TESTS=OFF -DSEXTANT_BUILD_EXAMPLES=${option}
    RESULT_VARIABLE result OUTPUT_VARIABLE log ERROR_VARIABLE log)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "configuring with SEXTANT_BUILD_EXAMPLES=${option} failed:\n${log}")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${dir} --target help
    RESULT_VARIABLE result OUTPUT_VARIABLE help)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "no target list for SEXTANT_BUILD_EXAMPLES=${option}")
  endif()
  # "name: phony" (Ninja) or "... name" (Makefiles), one a line.
  string(REGEX MATCHALL "[A-Za-z0-9_]+(: [a-z]+|\n)" lines "${help}")
  set(names "")
  foreach(line ${lines})
    string(REGEX REPLACE "(: [a-z]+|\n)$" "" name "${line}")
    list(APPEND names ${name})
  endforeach()
  set(${out} ${names} PARENT_SCOPE)
  set(quick_found FALSE)
  if(sextant_quick IN_LIST names)
    set(quick_found TRUE)
  endif()
  set(${out}_quick ${quick_found} PARENT_SCOPE)
endfunction()

targets(ON with)
targets(OFF without)
set(failures "")
foreach(target ${always})
  if(NOT target IN_LIST without)
    string(APPEND failures "\n${target} is not built with SEXTANT_BUILD_EXAMPLES=OFF")
  endif()
endforeach()
foreach(target ${examples})
  # The Qt Quick example exists only where Qt Quick does.
  if(target STREQUAL "quick_example" AND NOT with_quick)
    continue()
  endif()
  if(NOT target IN_LIST with)
    string(APPEND failures "\n${target} is not built with SEXTANT_BUILD_EXAMPLES=ON")
  endif()
  if(target IN_LIST without)
    string(APPEND failures "\n${target} is built with SEXTANT_BUILD_EXAMPLES=OFF")
  endif()
endforeach()
if(failures)
  message(FATAL_ERROR "${failures}")
endif()
message(STATUS "SEXTANT_BUILD_EXAMPLES=OFF builds no example and still chartdemo")
