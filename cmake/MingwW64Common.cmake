# What both mingw-w64 toolchain files share; they set QLXW_MINGW_TRIPLET and CMAKE_SYSTEM_PROCESSOR
# first. Debian's posix thread model, which has std::thread and std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${QLXW_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QLXW_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QLXW_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QLXW_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The C++ runtime goes into each module (no runtime DLLs to ship), symbols of the static runtime stay
# inside, only ours are exported. Except on 32-bit: there exceptions unwind through DWARF tables that each
# copy of the runtime keeps for its own module, so one thrown in libqlxwcommon.dll never reaches a catch
# in the program. The library and the programs that link it use the runtime DLLs there, as mingw's g++
# does by default (cmake/WindowsRuntime.cmake); the COM server, a module, is self-contained on both.
set(QLXW_STATIC_RUNTIME_FLAGS -static-libgcc -static-libstdc++ -static)
list(JOIN QLXW_STATIC_RUNTIME_FLAGS " " qlxw_static)
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${qlxw_static} -Wl,--exclude-libs,ALL")
if(QLXW_MINGW_TRIPLET MATCHES "^x86_64")
  set(CMAKE_SHARED_LINKER_FLAGS_INIT "${qlxw_static} -Wl,--exclude-libs,ALL")
  set(CMAKE_EXE_LINKER_FLAGS_INIT "${qlxw_static}")
else()
  set(CMAKE_SHARED_LINKER_FLAGS_INIT "-Wl,--exclude-libs,ALL")
endif()
