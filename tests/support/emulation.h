#pragma once

// A cross build's tests run under user-mode qemu (CMake's CROSSCOMPILING_EMULATOR), where a test
// can start no process: without binfmt_misc the kernel runs no program of the other CPU, and
// Debian 12's qemu refuses the clone() with which QProcess starts any program. The checks that
// start one are skipped there; the real program is started under qemu by debian/tests/window.

#include <QtTest>

#ifdef QUORVALE_UNDER_EMULATOR
#define QUORVALE_SKIP_UNDER_EMULATOR()                                                             \
    QSKIP("starts a process, which a test under user-mode qemu cannot")
#else
#define QUORVALE_SKIP_UNDER_EMULATOR()                                                             \
    do {                                                                                           \
    } while (false)
#endif
