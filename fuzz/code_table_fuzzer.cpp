// The code table against its definition: exactly the two-digit upper-case codes 20 to 7E give
// their character, 7F gives nothing, everything else the marker.

#include "fuzz_check.h"
#include "hex_to_ascii.h"

using namespace quorvale;
using namespace quorvale::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::u16string piece = utf16Of(data, size);
    const std::u16string_view result = checkCODE(piece);

    const bool twoDigits =
        piece.size() == 2 && isUpperHexDigit(piece[0]) && isUpperHexDigit(piece[1]);
    const unsigned code = twoDigits ? hexValue(piece[0]) * 16 + hexValue(piece[1]) : 0;
    if (twoDigits && code >= 0x20 && code <= 0x7E) {
        FUZZ_REQUIRE(result.size() == 1 && result[0] == code);
    } else if (twoDigits && code == 0x7F) {
        FUZZ_REQUIRE(result.empty());
    } else {
        FUZZ_REQUIRE(result == kUnknownCodeMarker);
    }

    // The same piece as code-page bytes decodes alike.
    if (piece.size() == 2 && piece[0] < 0x80 && piece[1] < 0x80) {
        const std::string bytes{static_cast<char>(piece[0]), static_cast<char>(piece[1])};
        FUZZ_REQUIRE(decodeHex(bytes).text == result);
    }
    return 0;
}
