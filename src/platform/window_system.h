#pragma once

namespace quorvale {

// Why the program cannot open its window at all, as one line for standard error; null when it
// can, or when Qt is left to judge (a platform was asked for by QT_QPA_PLATFORM or -platform).
// Linux needs a display server named in the environment; Windows always has its window system.
const char *missingWindowSystem(int argc, char *argv[]);

} // namespace quorvale
