#pragma once

// The hexadecimal form of a character code: upper-case digits, no leading zeros, no prefix.
// Codes below 16 give one digit (a line break gives D and A), all others two.

#include <string>

namespace quorvale {

inline void appendHexForm(std::u16string &out, unsigned code)
{
    constexpr char16_t digits[] = u"0123456789ABCDEF";
    if (code >= 16)
        out.push_back(digits[(code >> 4) & 0xF]);
    out.push_back(digits[code & 0xF]);
}

inline std::u16string hexForm(unsigned code)
{
    std::u16string s;
    appendHexForm(s, code);
    return s;
}

} // namespace quorvale
