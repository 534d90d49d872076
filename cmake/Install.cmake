include(CMakePackageConfigHelpers)

# The public headers: the umbrella qlxw.h and every header of the floors it reaches, found by following
# their includes. They keep their subsystem folders under include/qlxw: a host writes
# <qlxw/qlxw.h> or <qlxw/config/ini_manager.h>; the headers reach one another through include/qlxw.
function(qlxw_public_headers names_out paths_out)
  set(pending qlxw.h)
  set(names "")
  set(paths "")
  while(pending)
    list(POP_FRONT pending name)
    if(name IN_LIST names)
      continue()
    endif()
    set(path "")
    foreach(root ${QLXW_FLOOR_INCLUDE_DIRS})
      if(EXISTS ${root}/${name})
        set(path ${root}/${name})
        break()
      endif()
    endforeach()
    if(NOT path)
      message(FATAL_ERROR "a public header includes ${name}, which no floor holds")
    endif()
    list(APPEND names ${name})
    list(APPEND paths ${path})
    file(STRINGS ${path} includes REGEX "^#include \"")
    foreach(line ${includes})
      string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" included "${line}")
      list(APPEND pending ${included})
    endforeach()
  endwhile()
  set(${names_out} ${names} PARENT_SCOPE)
  set(${paths_out} ${paths} PARENT_SCOPE)
endfunction()

qlxw_public_headers(QLXW_PUBLIC_HEADER_NAMES QLXW_PUBLIC_HEADER_PATHS)
# A new include in a public header changes the list.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${QLXW_PUBLIC_HEADER_PATHS})
foreach(name path IN ZIP_LISTS QLXW_PUBLIC_HEADER_NAMES QLXW_PUBLIC_HEADER_PATHS)
  get_filename_component(folder ${name} DIRECTORY)
  install(FILES ${path} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/qlxw/${folder})
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
