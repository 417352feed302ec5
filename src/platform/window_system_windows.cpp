#include "window_system.h"

namespace quorvale {

const char *missingWindowSystem(int, char *[])
{
    return nullptr;
}

// Qt's default on Windows: the desktop's message font, 9-point Segoe UI as Windows sets it up.
double standardFontPointSize()
{
    return 9.0;
}

} // namespace quorvale
