#include "key_filter.h"

namespace quorvale {

KeyAscii checkCASE(KeyAscii keyAscii)
{
    return keyAscii >= 'a' && keyAscii <= 'f' ? keyAscii - ('a' - 'A') : keyAscii;
}

KeyAscii filterHexKey(KeyAscii keyAscii, bool paneIsOutput)
{
    if (paneIsOutput)
        keyAscii = 0;
    keyAscii = checkCASE(keyAscii);
    const auto within = [keyAscii](int low, int high) {
        return keyAscii >= low && keyAscii <= high;
    };
    if (within(0, 7) || within(9, 31) || within(33, 47) || within(58, 64) || within(71, 255))
        keyAscii = 0;
    return keyAscii;
}

} // namespace quorvale
