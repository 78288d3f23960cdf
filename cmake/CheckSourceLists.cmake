# Fails when a source file of the tree is in no list of
# cmake/SextantSources.cmake, or a listed file does not exist.
#
#   cmake -DSEXTANT_ROOT=<repository root> -P cmake/CheckSourceLists.cmake
#
# The examples are projects of their own (each lists its main.cpp) and are
# not looked at.
cmake_minimum_required(VERSION 3.25)
if(NOT SEXTANT_ROOT)
  message(FATAL_ERROR "SEXTANT_ROOT is not set")
endif()
include(${SEXTANT_ROOT}/cmake/SextantSources.cmake)

set(folders platform canvas panel axes series marks tools app tests fuzz bench)
set(listed "")
get_cmake_property(variables VARIABLES)
foreach(variable ${variables})
  if(variable MATCHES "^SEXTANT_" OR variable MATCHES "^fuzz_.*_EXTRA$")
    foreach(entry ${${variable}})
      if(entry MATCHES "^[a-z]+/.*\\.[a-z]+$")
        list(APPEND listed ${entry})
        if(NOT EXISTS ${SEXTANT_ROOT}/${entry})
          list(APPEND missing "${entry} (${variable})")
        endif()
      endif()
    endforeach()
  endif()
endforeach()
foreach(name ${SEXTANT_FUZZ_TARGETS})
  list(APPEND listed fuzz/${name}.cpp)
endforeach()

set(patterns "")
foreach(folder ${folders})
  list(APPEND patterns ${SEXTANT_ROOT}/${folder}/*.cpp ${SEXTANT_ROOT}/${folder}/*.h ${SEXTANT_ROOT}/${folder}/*.qrc)
endforeach()
file(GLOB_RECURSE files RELATIVE ${SEXTANT_ROOT} LIST_DIRECTORIES false
  ${patterns})
foreach(file ${files})
  if(NOT file IN_LIST listed)
    list(APPEND unlisted ${file})
  endif()
endforeach()

if(unlisted OR missing)
  foreach(file ${unlisted})
    message("in no list of cmake/SextantSources.cmake: ${file}")
  endforeach()
  foreach(file ${missing})
    message("listed but not in the tree: ${file}")
  endforeach()
  message(FATAL_ERROR "the source lists do not match the tree")
endif()
list(LENGTH files count)
message(STATUS "all ${count} source files are listed")
