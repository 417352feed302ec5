#include "hex_to_ascii.h"

#include "code_page.h"

namespace quorvale {
namespace {

// The value of an upper-case hex digit, -1 for anything else (lower case included).
constexpr int digitValue(char32_t c)
{
    if (c >= '0' && c <= '9')
        return static_cast<int>(c - '0');
    if (c >= 'A' && c <= 'F')
        return static_cast<int>(c - 'A' + 10);
    return -1;
}

// The code of a two-digit piece in the table's range 20..7F, or -1 when it is not a key.
constexpr int tableCode(char32_t high, char32_t low)
{
    const int h = digitValue(high);
    const int l = digitValue(low);
    if (h < 0 || l < 0)
        return -1;
    const int code = h * 16 + l;
    return code >= 0x20 && code <= 0x7F ? code : -1;
}

// One static string per printable character, so that checkCODE can hand out views.
struct PrintableTable
{
    char16_t chars[0x7F - 0x20][1];
    constexpr PrintableTable() : chars{}
    {
        for (int c = 0x20; c < 0x7F; ++c)
            chars[c - 0x20][0] = static_cast<char16_t>(c);
    }
};
constexpr PrintableTable kPrintable;

std::u16string_view decoded(int code)
{
    if (code < 0)
        return kUnknownCodeMarker;
    if (code == 0x7F)
        return {};
    return {kPrintable.chars[code - 0x20], 1};
}

} // namespace

std::u16string_view checkCODE(std::u16string_view piece)
{
    return decoded(piece.size() == 2 ? tableCode(piece[0], piece[1]) : -1);
}

void PlaceInArray2(InputArray &array, std::string_view bytes)
{
    if (bytes.empty())
        return;
    const std::size_t n = bytes.size();
    array.resize(n + 1);
    for (std::size_t i = 1; i <= n; ++i) {
        std::u16string &piece = array[i];
        piece.assign(1, codepage::toChar(static_cast<std::uint8_t>(bytes[i - 1])));
        if (i < n)
            piece.push_back(codepage::toChar(static_cast<std::uint8_t>(bytes[i])));
    }
}

Decoding decodeHex(std::string_view bytes)
{
    Decoding result;
    const std::size_t n = bytes.size();
    result.text.reserve(n / 3 + 3);
    for (std::size_t i = 0; i < n; i += 3) {
        // Only complete pieces can be keys, and every key is pure ASCII, so the bytes can be
        // compared as they are.
        const int code = i + 1 < n ? tableCode(static_cast<unsigned char>(bytes[i]),
                                               static_cast<unsigned char>(bytes[i + 1]))
                                   : -1;
        const std::u16string_view piece = decoded(code);
        result.text.append(piece);
        result.last.assign(piece);
    }
    result.marked = result.text.find(kUnknownCodeMarker) != std::u16string::npos;
    return result;
}

Decoding hexToAscii(std::u16string_view text)
{
    return decodeHex(codepage::encode(text));
}

} // namespace quorvale
