# Which C++ runtime a Windows program links (see MingwW64Common.cmake). On 64-bit Windows everything is
# linked into each module already and these do nothing.

# The runtime DLLs that libqlxwcommon.dll and its 32-bit callers share.
set(QLXW_RUNTIME_DLLS "")
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  foreach(name libgcc_s_dw2-1.dll libstdc++-6.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${name} OUTPUT_VARIABLE path
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
      message(FATAL_ERROR "the compiler has no ${name}")
    endif()
    get_filename_component(path "${path}" REALPATH)
    list(APPEND QLXW_RUNTIME_DLLS "${path}")
  endforeach()
  install(FILES ${QLXW_RUNTIME_DLLS} DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# A program that does not use the library and must run alone (the test tools, the examples).
function(qlxw_self_contained target)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_link_options(${target} PRIVATE ${QLXW_STATIC_RUNTIME_FLAGS})
  endif()
endfunction()

# A program that links the library: the library and the runtime DLLs are copied beside it, so that it
# runs from its build folder.
function(qlxw_runtime_beside target)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:qlxwcommon> ${QLXW_RUNTIME_DLLS}
            $<TARGET_FILE_DIR:${target}>
    VERBATIM)
endfunction()
