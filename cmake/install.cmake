# What `cmake --install` puts where: the library with its SONAME links, the header under include/vobreports/,
# vobreports.pc, the CMake package (target vobreports::vobreports), the command and the host examples.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# The header's version macros are what a host compiles against; they must name the release being built.
set(vob_c_api_header ${PROJECT_SOURCE_DIR}/src/manager/c_api/vob_c_api.h)
file(STRINGS ${vob_c_api_header} vob_header_version REGEX "^#define VOB_VERSION(_MAJOR|_MINOR|_PATCH)? ")
set(vob_expected_version
    "#define VOB_VERSION_MAJOR ${PROJECT_VERSION_MAJOR}" "#define VOB_VERSION_MINOR ${PROJECT_VERSION_MINOR}"
    "#define VOB_VERSION_PATCH ${PROJECT_VERSION_PATCH}" "#define VOB_VERSION \"${PROJECT_VERSION}\"")
foreach(line IN LISTS vob_expected_version)
  if(NOT line IN_LIST vob_header_version)
    message(FATAL_ERROR "${vob_c_api_header} does not say `${line}`, the version in CMakeLists.txt's project(); "
                        "change both together")
  endif()
endforeach()

set_target_properties(VOBADOReports2 PROPERTIES EXPORT_NAME vobreports)
target_include_directories(VOBADOReports2 INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)

install(TARGETS VOBADOReports2 EXPORT vobreports_targets LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${vob_c_api_header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/vobreports)
install(TARGETS vobreports_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS vobreports_viewer RUNTIME DESTINATION ${vob_viewer_libexec})  # `vobreports view` runs it
install(FILES ${PROJECT_SOURCE_DIR}/examples/host.c ${PROJECT_SOURCE_DIR}/examples/host.py
              ${PROJECT_SOURCE_DIR}/examples/CMakeLists.txt
        DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

set(vob_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/vobreports)
install(EXPORT vobreports_targets NAMESPACE vobreports:: FILE vobreports-targets.cmake
        DESTINATION ${vob_cmake_dir})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/vobreports-config.cmake.in
                              ${PROJECT_BINARY_DIR}/install/vobreports-config.cmake INSTALL_DESTINATION ${vob_cmake_dir})
# Only a new SONAME breaks hosts, so any 1.x satisfies a request for 1.0.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/install/vobreports-config-version.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/install/vobreports-config.cmake
              ${PROJECT_BINARY_DIR}/install/vobreports-config-version.cmake DESTINATION ${vob_cmake_dir})

# The .pc file names the prefix given at install time (`cmake --install --prefix`, the package's /usr), not
# the one configured, so it is written by the install step itself.
configure_file(${CMAKE_CURRENT_LIST_DIR}/write_pkg_config.cmake.in ${PROJECT_BINARY_DIR}/install/write_pkg_config.cmake
               @ONLY)
install(SCRIPT ${PROJECT_BINARY_DIR}/install/write_pkg_config.cmake)
