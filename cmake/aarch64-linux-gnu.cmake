# Cross-compiling for 64-bit ARM Linux with Debian's cross compiler and the arm64 libraries of
# multiarch (/usr/lib/aarch64-linux-gnu). Qt's build tools (moc, rcc, uic) are the build
# machine's own. The programs it builds run here under user-mode qemu: CTest starts every test
# through it, and the build runs nothing of its own (see resources/).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(triple aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${triple}-gcc)
set(CMAKE_CXX_COMPILER ${triple}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${triple})
# pkgconf:arm64's name for itself, which reads the arm64 libraries' .pc files (the benchmarks').
set(PKG_CONFIG_EXECUTABLE ${triple}-pkg-config CACHE STRING "pkg-config of the arm64 libraries")
set(PKG_CONFIG_EXECUTABLE /usr/bin/${triple}-pkg-config CACHE FILEPATH "pkg-config for arm64")

# Debian 12 names the static emulator qemu-aarch64-static; Debian 13's qemu-user, static itself,
# names it qemu-aarch64. The arm64 C library of multiarch is where qemu looks by default.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    find_program(QUORVALE_QEMU_AARCH64 NAMES qemu-aarch64-static qemu-aarch64 REQUIRED)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${QUORVALE_QEMU_AARCH64})
endif()
