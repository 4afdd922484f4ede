# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64-posix).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw x86_64-w64-mingw32)
# The posix thread model: GoogleTest and std::thread find their pthreads in it.
set(CMAKE_C_COMPILER ${mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw}-windres)

# Libraries, headers and packages come only from the mingw-w64 tree and from the folders in
# CMAKE_PREFIX_PATH (what was built for mingw), never from the Linux system.
set(CMAKE_FIND_ROOT_PATH /usr/${mingw} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs link libgcc, libstdc++ and winpthread statically, so they need only Windows' own DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Test programs run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
