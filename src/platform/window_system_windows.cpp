#include "window_system.h"

namespace quorvale {

const char *missingWindowSystem(int, char *[])
{
    return nullptr;
}

} // namespace quorvale
