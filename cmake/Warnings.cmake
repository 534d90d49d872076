# One warning set for every target of the project.
function(qlxw_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${QLXW_WERROR}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE
      -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Wnon-virtual-dtor
      -Wold-style-cast -Woverloaded-virtual -Wimplicit-fallthrough
      $<$<BOOL:${QLXW_WERROR}>:-Werror>)
  endif()
endfunction()
