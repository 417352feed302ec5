// Every code page: lengths agree with the encoding, a fitting prefix never splits a character or
// a line break and is as long as the room allows, and every byte maps to a character and back.

#include "code_page.h"
#include "fuzz_check.h"

using namespace quorvale;
using namespace quorvale::fuzzing;

namespace {

bool isHigh(char16_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLow(char16_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 3)
        return 0;
    // The first byte chooses the page, the next two are the room, the rest the text.
    codepage::use(codepage::kPages[data[0] % codepage::kPages.size()]);
    const std::size_t room = data[1] | (data[2] << 8);
    const std::u16string text = utf16Of(data + 3, size - 3);

    const std::string bytes = codepage::encode(text);
    FUZZ_REQUIRE(codepage::length(text) == bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        // A CR only ever comes in front of LF unless the text itself held one.
        if (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'))
            FUZZ_REQUIRE(text.find(u'\r') != std::u16string::npos);
        const auto byte = static_cast<std::uint8_t>(bytes[i]);
        FUZZ_REQUIRE(codepage::fromCodePoint(codepage::toChar(byte)) == byte);
    }

    const std::size_t prefix = codepage::fittingPrefix(text, room);
    FUZZ_REQUIRE(prefix <= text.size());
    const std::u16string_view head = std::u16string_view(text).substr(0, prefix);
    const std::size_t used = codepage::length(head);
    FUZZ_REQUIRE(used <= room);
    FUZZ_REQUIRE(codepage::encode(head) == bytes.substr(0, used));
    if (prefix > 0 && prefix < text.size())
        FUZZ_REQUIRE(!(isHigh(text[prefix - 1]) && isLow(text[prefix])));
    // As long as possible: the next character would not have fitted.
    if (prefix < text.size()) {
        const std::size_t next =
            isHigh(text[prefix]) && prefix + 1 < text.size() && isLow(text[prefix + 1]) ? 2 : 1;
        FUZZ_REQUIRE(codepage::length(std::u16string_view(text).substr(0, prefix + next)) > room);
    }
    return 0;
}
