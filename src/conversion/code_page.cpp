#include "code_page.h"

#include <array>

namespace quorvale::codepage {
namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F. The five bytes that the page leaves
// undefined (81, 8D, 8F, 90, 9D) map to the C1 controls of the same value, as Windows does.
constexpr std::array<char16_t, 32> kHighControls = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

constexpr bool isHighSurrogate(char16_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}
constexpr bool isLowSurrogate(char16_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Width of the character at text[i] in UTF-16 units: 2 for a complete surrogate pair.
std::size_t unitsAt(std::u16string_view text, std::size_t i)
{
    return isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1]) ? 2 : 1;
}

} // namespace

std::uint8_t fromCodePoint(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<std::uint8_t>(codePoint);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == codePoint)
            return static_cast<std::uint8_t>(0x80 + i);
    }
    return kSubstitute;
}

char16_t toChar(std::uint8_t byte)
{
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : char16_t{byte};
}

std::string encode(std::u16string_view text)
{
    std::string bytes;
    bytes.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size();) {
        const char16_t c = text[i];
        const std::size_t units = unitsAt(text, i);
        if (isLineBreak(c))
            bytes.append("\r\n");
        else if (units == 2 || isHighSurrogate(c) || isLowSurrogate(c))
            bytes.push_back(static_cast<char>(kSubstitute));
        else
            bytes.push_back(static_cast<char>(fromCodePoint(c)));
        i += units;
    }
    return bytes;
}

std::size_t length(std::u16string_view text)
{
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size(); i += unitsAt(text, i))
        n += isLineBreak(text[i]) ? 2 : 1;
    return n;
}

std::size_t fittingPrefix(std::u16string_view text, std::size_t room)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t cost = isLineBreak(text[i]) ? 2 : 1;
        if (cost > room)
            break;
        room -= cost;
        i += unitsAt(text, i);
    }
    return i;
}

} // namespace quorvale::codepage
