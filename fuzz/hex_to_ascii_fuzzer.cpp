// HEX to ASCII: whatever the pane holds, the decoding has one piece per code position, only
// printable ASCII and markers in it, and printable ASCII comes back from its own hex codes.

#include "ascii_to_hex.h"
#include "code_page.h"
#include "fuzz_check.h"
#include "hex_to_ascii.h"

using namespace quorvale;
using namespace quorvale::fuzzing;

namespace {

bool isPrintable(char16_t c)
{
    return c >= 0x20 && c <= 0x7E;
}

// The decoded text is made of printable characters and whole markers, at most one per piece.
void checkDecoding(const Decoding &d, std::size_t inputLength)
{
    const std::size_t pieces = (inputLength + 2) / 3;
    std::size_t units = 0;
    bool marked = false;
    for (std::size_t i = 0; i < d.text.size(); ++units) {
        if (d.text.compare(i, kUnknownCodeMarker.size(), kUnknownCodeMarker) == 0) {
            marked = true;
            i += kUnknownCodeMarker.size();
        } else {
            FUZZ_REQUIRE(isPrintable(d.text[i]));
            ++i;
        }
    }
    FUZZ_REQUIRE(units <= pieces);
    // "[!]" decoded from 5B 21 5D reads as a marker too, so marked can be true without one.
    FUZZ_REQUIRE(!marked || d.marked);
    FUZZ_REQUIRE(d.marked == (d.text.find(kUnknownCodeMarker) != std::u16string::npos));
    FUZZ_REQUIRE(d.last.size() <= kUnknownCodeMarker.size());
    if (!d.text.empty() && !d.last.empty())
        FUZZ_REQUIRE(d.text.compare(d.text.size() - d.last.size(), d.last.size(), d.last) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string raw(reinterpret_cast<const char *>(data), size);
    checkDecoding(decodeHex(raw), raw.size());

    const std::u16string text = utf16Of(data, size);
    const Decoding fromPane = hexToAscii(text);
    checkDecoding(fromPane, codepage::length(text));

    // Each decoded piece is what the code table makes of the piece at 1, 4, 7, ...
    InputArray array;
    PlaceInArray2(array, raw);
    if (!raw.empty()) {
        FUZZ_REQUIRE(array.size() == raw.size() + 1);
        FUZZ_REQUIRE(array.back().size() == 1);
        std::u16string expected;
        for (std::size_t i = 1; i <= raw.size(); i += 3)
            expected.append(checkCODE(array[i]));
        FUZZ_REQUIRE(expected == decodeHex(raw).text);
    }

    // Printable ASCII survives the round trip, except that a lone code keeps the blank in front
    // of it, which shifts the only piece.
    std::u16string printable;
    for (const unsigned char c : raw)
        printable.push_back(static_cast<char16_t>(0x20 + c % 0x5F));
    const Decoding back = hexToAscii(asciiToHex(printable));
    if (printable.size() == 1)
        FUZZ_REQUIRE(back.text == kUnknownCodeMarker);
    else
        FUZZ_REQUIRE(back.text == printable);
    return 0;
}
