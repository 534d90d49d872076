# The portable library as a 32-bit Linux build (g++ -m32, from g++-multilib), so that pointer and size
# widths of 32-bit hosts are tested in all the code that is not Windows-only. This machine may run only
# 64-bit programs: the tests run under qemu-i386 (qemu-user). Use:
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/linux-i386.cmake ...
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_EXE_LINKER_FLAGS_INIT -m32)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -m32)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -m32)
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
find_program(QLXW_QEMU_I386 qemu-i386 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${QLXW_QEMU_I386} -L /)
