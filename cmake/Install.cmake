include(CMakePackageConfigHelpers)

# The public C++ API, by hand: what a host or a tool written in C++ uses (the root object, the INI
# managers, folders, hot keys, locale and theme, strings, errors) and the types those headers name.
# Nothing else is installed; a public header that includes a header not on this list stops the
# configuration, so the list is closed.
set(QLXW_PUBLIC_HEADERS
    qlxw.h
    api/cls_common.h api/common_facade.h api/common_types.h api/default_theme.h api/file_system_controller.h
    api/form_sentinel.h api/library_state.h api/shared_local_info.h api/version.h
    config/app_settings.h config/ini_manager.h config/ini_manager5.h config/ini_manager_base.h
    config/ini_manager_interface.h config/shared_ini.h
    folders/file_system_controller_interface.h folders/folder_ids.h folders/folder_manager.h folders/fsc_old.h
    folders/fsc_replacer.h folders/keys.h
    ui/active_bar_filler.h ui/help_control.h ui/hot_keys.h ui/local_info.h ui/theme.h
    language/language_runtime.h language/language_subscription.h language/localized_strings.h
    diag/cls_debug.h
    errors/lib_error.h
    values/automation.h values/variant.h collections/collection.h collections/keyed_list.h)

# Installed under include/qlxw, reaching one another as <qlxw/...>: a host adds <prefix>/include only,
# and the floors' folder names (config/, text/, errors/) never become include names of its own. The
# copies are made here, in the build's include/ folder, which in-tree hosts use the same way.
set(QLXW_PUBLIC_INCLUDE_DIR ${PROJECT_BINARY_DIR}/include)
# A header taken off the list leaves no copy behind for in-tree hosts to find.
file(GLOB_RECURSE QLXW_OLD_COPIES RELATIVE ${QLXW_PUBLIC_INCLUDE_DIR}/qlxw ${QLXW_PUBLIC_INCLUDE_DIR}/qlxw/*)
foreach(name ${QLXW_OLD_COPIES})
  if(NOT name IN_LIST QLXW_PUBLIC_HEADERS)
    file(REMOVE ${QLXW_PUBLIC_INCLUDE_DIR}/qlxw/${name})
  endif()
endforeach()
foreach(name ${QLXW_PUBLIC_HEADERS})
  set(path "")
  foreach(root ${QLXW_FLOOR_INCLUDE_DIRS})
    if(EXISTS ${root}/${name})
      set(path ${root}/${name})
      break()
    endif()
  endforeach()
  if(NOT path)
    message(FATAL_ERROR "the public header ${name} is in no floor")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${path})
  file(READ ${path} text)
  string(REGEX MATCHALL "#include \"[^\"]+\"" includes "${text}")
  foreach(line ${includes})
    string(REGEX REPLACE "#include \"([^\"]+)\"" "\\1" included "${line}")
    if(NOT included IN_LIST QLXW_PUBLIC_HEADERS)
      message(FATAL_ERROR "the public header ${name} includes ${included}, which is not public")
    endif()
  endforeach()
  string(REGEX REPLACE "#include \"([^\"]+)\"" "#include <qlxw/\\1>" text "${text}")
  set(copy ${QLXW_PUBLIC_INCLUDE_DIR}/qlxw/${name})
  set(old "")
  if(EXISTS ${copy})
    file(READ ${copy} old)
  endif()
  if(NOT old STREQUAL text)  # an unchanged copy keeps its time, and what includes it is not rebuilt
    file(WRITE ${copy} "${text}")
  endif()
  get_filename_component(folder ${name} DIRECTORY)
  install(FILES ${copy} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/qlxw/${folder})
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
# While the version is 0.x each minor version may change the interface: asking for 0.1 takes 0.1.x only.
if(PROJECT_VERSION_MAJOR EQUAL 0)
  set(QLXW_COMPATIBILITY SameMinorVersion)
else()
  set(QLXW_COMPATIBILITY SameMajorVersion)
endif()
write_basic_package_version_file(${PROJECT_BINARY_DIR}/QlxWCommonConfigVersion.cmake
  COMPATIBILITY ${QLXW_COMPATIBILITY})
install(FILES ${PROJECT_BINARY_DIR}/QlxWCommonConfig.cmake ${PROJECT_BINARY_DIR}/QlxWCommonConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/QlxWCommon)

# Relocatable: the prefix is found from where the .pc file lies.
file(RELATIVE_PATH QLXW_PC_TO_PREFIX "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
configure_file(cmake/qlxwcommon.pc.in ${PROJECT_BINARY_DIR}/qlxwcommon.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/qlxwcommon.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
