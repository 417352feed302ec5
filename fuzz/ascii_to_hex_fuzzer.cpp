// ASCII to HEX: whatever the pane holds, the output is well-formed hex with one code per
// code-page character, each code the byte of that character, none above FF.

#include "ascii_to_hex.h"
#include "code_page.h"
#include "fuzz_check.h"

#include <vector>

using namespace quorvale;
using namespace quorvale::fuzzing;

namespace {

// Splits the output into its codes, checking the format on the way: single blanks between
// codes, none at either end except the one in front of a lone code, upper-case digits and no
// leading zero.
std::vector<unsigned> parseCodes(const std::u16string &hex)
{
    std::vector<unsigned> codes;
    if (hex.empty())
        return codes;
    std::size_t i = 0;
    const bool lone = hex.front() == u' ';
    if (lone)
        i = 1;
    while (true) {
        FUZZ_REQUIRE(i < hex.size() && isUpperHexDigit(hex[i]));
        unsigned code = hexValue(hex[i++]);
        if (i < hex.size() && hex[i] != u' ') {
            FUZZ_REQUIRE(isUpperHexDigit(hex[i]));
            FUZZ_REQUIRE(code != 0); // no leading zero
            code = code * 16 + hexValue(hex[i++]);
        }
        FUZZ_REQUIRE(code <= 0xFF);
        codes.push_back(code);
        if (i == hex.size())
            break;
        FUZZ_REQUIRE(hex[i] == u' ');
        ++i;
    }
    FUZZ_REQUIRE(lone == (codes.size() == 1));
    return codes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::u16string text = utf16Of(data, size);
    const std::string bytes = codepage::encode(text);
    const std::vector<unsigned> codes = parseCodes(asciiToHex(text));

    FUZZ_REQUIRE(codes.size() == bytes.size());
    FUZZ_REQUIRE(codes.size() == codepage::length(text));
    for (std::size_t k = 0; k < codes.size(); ++k)
        FUZZ_REQUIRE(codes[k] == static_cast<std::uint8_t>(bytes[k]));

    // The raw bytes as code-page text go the same way, whatever they are.
    const std::string raw(reinterpret_cast<const char *>(data), size);
    FUZZ_REQUIRE(parseCodes(hexText(raw)).size() == size);

    // Splitting: exactly 0..n, element k the k-th character; an empty text leaves the array.
    InputArray array(3, u"old");
    PlaceInArray(array, raw);
    if (raw.empty()) {
        FUZZ_REQUIRE(array.size() == 3);
    } else {
        FUZZ_REQUIRE(array.size() == raw.size() + 1);
        for (std::size_t k = 1; k <= raw.size(); ++k) {
            FUZZ_REQUIRE(array[k].size() == 1);
            FUZZ_REQUIRE(codepage::fromCodePoint(array[k][0]) ==
                         static_cast<std::uint8_t>(raw[k - 1]));
        }
    }
    return 0;
}
