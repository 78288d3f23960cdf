# Installation of the libraries, their public headers and the CMake package.
#
#   cmake --install build --prefix /some/prefix
#
# installs
#   include/sextant/<folder>/*.h            the public headers
#   lib/libsextant_engine.a, libsextant_qt.a
#   lib/cmake/Sextant/SextantConfig.cmake   with version file and targets
#
# after which a project writes
#   find_package(Sextant CONFIG REQUIRED)
#   target_link_libraries(app PRIVATE Sextant::qt)
# and includes <sextant/platform/qt/chart_view.h> (the headers include one
# another by their path below include/sextant, which is on the include path
# too).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(SEXTANT_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Sextant)
set(SEXTANT_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/sextant)

# The tree offers the <sextant/...> spelling as well: include/sextant in the
# build directory names the source tree.
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/include)
file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_BINARY_DIR}/include/sextant SYMBOLIC)

# Static libraries that may end up in a user's shared library.
set(SEXTANT_INSTALL_TARGETS sextant_engine)
set_target_properties(sextant_engine PROPERTIES EXPORT_NAME engine POSITION_INDEPENDENT_CODE ON)
# Users compile the headers as C++20 without saying so.
target_compile_features(sextant_engine PUBLIC cxx_std_20)
target_include_directories(sextant_engine PUBLIC
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>
  $<INSTALL_INTERFACE:${SEXTANT_INSTALL_INCLUDEDIR}>)
if(SEXTANT_BUILD_QT)
  set_target_properties(sextant_qt PROPERTIES EXPORT_NAME qt POSITION_INDEPENDENT_CODE ON)
  list(APPEND SEXTANT_INSTALL_TARGETS sextant_qt)
endif()

# Public headers: every class header of the engine folders and the platform
# interfaces. Left out: the recording canvas (a test double).
file(GLOB SEXTANT_PUBLIC_HEADERS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} CONFIGURE_DEPENDS
  canvas/*.h panel/*.h axes/*.h series/*.h marks/*.h tools/*.h platform/*.h)
list(REMOVE_ITEM SEXTANT_PUBLIC_HEADERS platform/recording_canvas.h)
# The Qt host: the widget, the rendering calls, the canvas, the services and
# the application object (what the demo program uses too).
if(SEXTANT_BUILD_QT)
  list(APPEND SEXTANT_PUBLIC_HEADERS
    platform/qt/chart_view.h platform/qt/chart_widget.h platform/qt/chart_render.h platform/qt/chart_export.h platform/qt/chart_input.h
    platform/qt/qt_canvas.h platform/qt/qt_services.h platform/qt/qt_application.h)
endif()
foreach(header ${SEXTANT_PUBLIC_HEADERS})
  get_filename_component(dir ${header} DIRECTORY)
  install(FILES ${header} DESTINATION ${SEXTANT_INSTALL_INCLUDEDIR}/${dir} COMPONENT Sextant_Development)
endforeach()

install(TARGETS ${SEXTANT_INSTALL_TARGETS} EXPORT SextantTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Sextant_Development
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Sextant_Runtime)
install(EXPORT SextantTargets NAMESPACE Sextant:: FILE SextantTargets.cmake
  DESTINATION ${SEXTANT_INSTALL_CMAKEDIR} COMPONENT Sextant_Development)

set(SEXTANT_WITH_QT ${SEXTANT_BUILD_QT})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/SextantConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/SextantConfig.cmake
  INSTALL_DESTINATION ${SEXTANT_INSTALL_CMAKEDIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/SextantConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/SextantConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/SextantConfigVersion.cmake
  DESTINATION ${SEXTANT_INSTALL_CMAKEDIR} COMPONENT Sextant_Development)
