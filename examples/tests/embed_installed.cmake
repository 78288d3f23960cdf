# Installs the built tree into a temporary prefix and builds, from clean
# build directories, the embed example, a program including every installed
# header and (with the Qt Quick item) the Qt Quick example, as a user of the
# package would; then runs them offscreen. The installed package must not refer to the source tree.
function(run)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    string(REPLACE ";" " " command "${ARGV}")
    message(FATAL_ERROR "failed (${result}): ${command}")
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
run(${CMAKE_COMMAND} --install ${SEXTANT_BINARY_DIR} --prefix ${prefix})

# What must and must not be installed.
foreach(header panel/chart.h series/fast_line_series.h platform/host_canvas.h
    platform/qt/chart_view.h platform/qt/chart_render.h platform/qt/chart_export.h platform/qt/qt_application.h)
  if(NOT EXISTS ${prefix}/include/sextant/${header})
    message(FATAL_ERROR "not installed: ${header}")
  endif()
endforeach()
foreach(private platform/recording_canvas.h app/qt_form.h)
  if(EXISTS ${prefix}/include/sextant/${private})
    message(FATAL_ERROR "installed although private: ${private}")
  endif()
endforeach()
file(GLOB_RECURSE package_files ${prefix}/lib*/cmake/Sextant/*.cmake)
foreach(f ${package_files})
  file(READ ${f} content)
  string(FIND "${content}" "${SEXTANT_SOURCE_DIR}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "${f} refers to the source tree")
  endif()
endforeach()

set(configure_args -G ${GENERATOR} -DCMAKE_BUILD_TYPE=${BUILD_TYPE} -DCMAKE_CXX_COMPILER=${CXX_COMPILER}
  -DCMAKE_PREFIX_PATH=${prefix} -DQt6_DIR=${QT6_DIR})
if(EXTRA_CXX_FLAGS)
  list(APPEND configure_args -DCMAKE_CXX_FLAGS=${EXTRA_CXX_FLAGS} -DCMAKE_EXE_LINKER_FLAGS=${EXTRA_CXX_FLAGS})
endif()

set(projects embed headers)
# A package with the Qt Quick item builds the Qt Quick example too.
if(EXISTS ${prefix}/include/sextant/platform/qt/quick/chart_quick_item.h)
  list(APPEND projects quick)
endif()
foreach(project ${projects})
  set(args --exit-after-paint)
  if(project STREQUAL "embed")
    set(source ${SEXTANT_SOURCE_DIR}/examples/embed)
    set(program embed_example)
  elseif(project STREQUAL "quick")
    set(source ${SEXTANT_SOURCE_DIR}/examples/quick)
    set(program quick_example)
    set(args --screenshot ${WORK_DIR}/quick.png)
  else()
    set(source ${SEXTANT_SOURCE_DIR}/examples/tests/headers)
    set(program headers_check)
  endif()
  run(${CMAKE_COMMAND} -S ${source} -B ${WORK_DIR}/${project} ${configure_args})
  run(${CMAKE_COMMAND} --build ${WORK_DIR}/${project} -j 2)
  run(${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software
    ${WORK_DIR}/${project}/${program} ${args})
endforeach()
message(STATUS "the installed package builds and runs the examples: ${projects}")
