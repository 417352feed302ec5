#pragma once

namespace quorvale {

// Why the program cannot open its window at all, as one line for standard error; null when it
// can, or when Qt is left to judge (a platform was asked for by QT_QPA_PLATFORM or -platform).
// Linux needs a display server named in the environment; Windows always has its window system.
const char *missingWindowSystem(int argc, char *argv[]);

// The default font size, in points, of a standard desktop of this platform: the size that the
// fixed layouts were drawn for. A larger default font grows them in proportion.
double standardFontPointSize();

} // namespace quorvale
