# Release binaries are stripped; their debug information stays in a file beside each one,
# "<binary>.debug", which debuggers find through the binary's debug link and which is installed beside
# it. Debug, sanitizer and fuzzing builds keep everything in the binary.
option(QLXW_SPLIT_DEBUG "Strip release binaries, keeping their debug information in .debug files" ON)

# Splits `target` after each link; its .debug file is installed to `destination`.
function(qlxw_split_debug target destination)
  if(NOT QLXW_SPLIT_DEBUG OR QLXW_SANITIZE OR QLXW_FUZZ OR NOT CMAKE_OBJCOPY
     OR NOT CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$")
    return()
  endif()
  set(binary "$<TARGET_FILE:${target}>")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND "${CMAKE_OBJCOPY}" --only-keep-debug "${binary}" "${binary}.debug"
    COMMAND "${CMAKE_OBJCOPY}" --strip-unneeded "--add-gnu-debuglink=${binary}.debug" "${binary}"
    VERBATIM)
  install(FILES "${binary}.debug" DESTINATION "${destination}")
endfunction()
