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
# No compiler runtime DLLs to ship beside ours.
# Symbols of the static runtime stay inside the DLL; only ours are exported.
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -static -Wl,--exclude-libs,ALL")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -static -Wl,--exclude-libs,ALL")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -static")
