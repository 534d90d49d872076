# One warning set for every target of the project.
function(qlxw_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${QLXW_WERROR}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE
      -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Wnon-virtual-dtor
      -Wold-style-cast -Woverloaded-virtual -Wimplicit-fallthrough
      # g++ 12 warns of overlapping copies inside std::string's operator+ at -O3 that cannot happen
      # (GCC bug 105329, fixed in 13).
      $<$<AND:$<CXX_COMPILER_ID:GNU>,$<VERSION_LESS:$<CXX_COMPILER_VERSION>,13>>:-Wno-restrict>
      $<$<BOOL:${QLXW_WERROR}>:-Werror>)
  endif()
endfunction()
