# Cross-compiling for 32-bit Windows (the bitness of the hosts' own processes) with Debian's
# mingw-w64. Use: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake ...
set(QLXW_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/MingwW64Common.cmake)
