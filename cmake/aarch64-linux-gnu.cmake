# Cross-compiling for 64-bit ARM Linux (Raspberry Pi OS, ARM Chromebooks' Debian) on a Debian machine of
# another architecture, with crossbuild-essential-arm64 and the :arm64 libraries of Debian's multiarch
# (scripts/build_arm64.sh installs them).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(triplet aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${triplet}-gcc)
set(CMAKE_CXX_COMPILER ${triplet}-g++)
# Multiarch: libraries and CMake packages from /usr/lib/aarch64-linux-gnu, headers from /usr/include,
# pkg-config's files of arm64 and the architecture-independent ones only.
set(CMAKE_LIBRARY_ARCHITECTURE ${triplet})
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${triplet}/pkgconfig:/usr/share/pkgconfig)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)

# Tools and tests run under qemu's user-mode emulator, named here so that they run where the kernel has
# no binfmt_misc entry for arm64 (a container).
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64-static)
