# Installs the built library into a scratch prefix, builds the C++ example against it as a host project
# does, runs it; and finds docs/api.md showing that example as it is.
# Inputs: BUILD_DIR (the library's build), WORK_DIR (scratch), SOURCE_DIR (this folder), PROJECT_DIR.
file(REMOVE_RECURSE "${WORK_DIR}")
set(prefix "${WORK_DIR}/prefix")

function(run)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed: ${ARGV}\n${out}")
  endif()
  set(last_output "${out}" PARENT_SCOPE)
endfunction()

run(${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}")
# While the version is 0.x, a host asking for an earlier minor version than the installed one is refused
# (its interface may have changed since).
file(GLOB_RECURSE version_file "${prefix}/*/QlxWCommonConfigVersion.cmake")
include(${version_file})
if(PACKAGE_VERSION MATCHES "^0\\.([1-9][0-9]*)\\.")
  math(EXPR PACKAGE_FIND_VERSION_MINOR "${CMAKE_MATCH_1} - 1")
  set(PACKAGE_FIND_VERSION_MAJOR 0)
  set(PACKAGE_FIND_VERSION 0.${PACKAGE_FIND_VERSION_MINOR})
  include(${version_file})
  if(PACKAGE_VERSION_COMPATIBLE)
    message(FATAL_ERROR "the package ${PACKAGE_VERSION} takes a host asking for ${PACKAGE_FIND_VERSION}")
  endif()
endif()
set(example "${PROJECT_DIR}/examples/settings.cpp")
run(${CMAKE_COMMAND} -S "${SOURCE_DIR}" -B "${WORK_DIR}/host" -G Ninja
    "-DCMAKE_PREFIX_PATH=${prefix}" "-DCMAKE_BUILD_TYPE=Release" "-DEXAMPLE=${example}")
run(${CMAKE_COMMAND} --build "${WORK_DIR}/host")
foreach(host host_cmake host_pkgconfig)
  execute_process(COMMAND "${WORK_DIR}/host/${host}" "${WORK_DIR}/${host}.ini" RESULT_VARIABLE result
                  OUTPUT_VARIABLE out WORKING_DIRECTORY "${WORK_DIR}")
  file(READ "${WORK_DIR}/${host}.ini" written)
  set(expected "Units: metric\nScale: 1000\nError 80040003: Error! ini-File path modifications are forbidden!\n")
  if(NOT result EQUAL 0 OR NOT out STREQUAL expected OR NOT written MATCHES "Scale=1000")
    message(FATAL_ERROR "${host}: exit ${result}, printed '${out}', wrote '${written}'")
  endif()
endforeach()
# docs/api.md shows the example as it is.
file(READ "${PROJECT_DIR}/docs/api.md" api)
file(READ "${example}" source)
string(FIND "${api}" "```cpp\n${source}```" shown)
if(shown EQUAL -1)
  message(FATAL_ERROR "docs/api.md does not show examples/settings.cpp as it is")
endif()
# The installed command runs from its own folder, without LD_LIBRARY_PATH.
if(EXISTS "${prefix}/bin/qlxw")
  run("${prefix}/bin/qlxw" --version)
endif()
message(STATUS "find_package and pkg-config hosts both work")
