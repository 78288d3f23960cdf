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

# Static libraries that may end up in a user's shared library.
set(SEXTANT_INSTALL_TARGETS sextant_engine)
set_target_properties(sextant_engine PROPERTIES EXPORT_NAME engine POSITION_INDEPENDENT_CODE ON)
# Users compile the headers as C++20 without saying so.
target_compile_features(sextant_engine PUBLIC cxx_std_20)
# The file set puts include/sextant on the include path of the package;
# include/ gives the <sextant/...> spelling.
target_include_directories(sextant_engine PUBLIC $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
if(SEXTANT_BUILD_QT)
  set_target_properties(sextant_qt PROPERTIES EXPORT_NAME qt POSITION_INDEPENDENT_CODE ON)
  list(APPEND SEXTANT_INSTALL_TARGETS sextant_qt)
endif()

# The public headers are the libraries' HEADERS file sets (see
# cmake/SextantSources.cmake); internal headers are in no file set.
install(TARGETS ${SEXTANT_INSTALL_TARGETS} EXPORT SextantTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Sextant_Development
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Sextant_Runtime
  FILE_SET HEADERS DESTINATION ${SEXTANT_INSTALL_INCLUDEDIR} COMPONENT Sextant_Development)
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
