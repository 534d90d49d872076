include(CMakePackageConfigHelpers)

# Public headers keep their subsystem folders, every floor's in one tree: "language/localized_strings.h"
# under include/qlxw, and so on.
foreach(root ${QLXW_FLOOR_INCLUDE_DIRS})
  install(DIRECTORY ${root}/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/qlxw FILES_MATCHING PATTERN "*.h")
endforeach()

install(TARGETS qlxwcommon EXPORT QlxWCommonTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(EXPORT QlxWCommonTargets NAMESPACE QlxWCommon::
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/QlxWCommon)

configure_package_config_file(cmake/QlxWCommonConfig.cmake.in
  ${PROJECT_BINARY_DIR}/QlxWCommonConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/QlxWCommon)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/QlxWCommonConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/QlxWCommonConfig.cmake ${PROJECT_BINARY_DIR}/QlxWCommonConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/QlxWCommon)

# Relocatable: the prefix is found from where the .pc file lies.
file(RELATIVE_PATH QLXW_PC_TO_PREFIX "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
configure_file(cmake/qlxwcommon.pc.in ${PROJECT_BINARY_DIR}/qlxwcommon.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/qlxwcommon.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
