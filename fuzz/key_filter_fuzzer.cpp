// The hex pane's key filter: only hex digits, the blank and Backspace pass within 0..255, a to f
// become upper case, codes outside 0..255 pass unchanged, and the output pane takes nothing.

#include "fuzz_check.h"
#include "key_filter.h"

#include <cstring>

using namespace quorvale;

namespace {

bool passes(KeyAscii k)
{
    return k == 8 || k == ' ' || (k >= '0' && k <= '9') || (k >= 'A' && k <= 'F');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < sizeof(std::int32_t) + 1)
        return 0;
    std::int32_t typed = 0;
    std::memcpy(&typed, data, sizeof typed);
    const bool paneIsOutput = (data[sizeof typed] & 1) != 0;

    const KeyAscii upper = checkCASE(typed);
    FUZZ_REQUIRE(upper == (typed >= 'a' && typed <= 'f' ? typed - 32 : typed));

    const KeyAscii result = filterHexKey(typed, paneIsOutput);
    if (paneIsOutput)
        FUZZ_REQUIRE(result == 0);
    else if (typed < 0 || typed > 255)
        FUZZ_REQUIRE(result == typed);
    else
        FUZZ_REQUIRE(result == (passes(upper) ? upper : 0));
    // Whatever passes within the code page is a character the hex pane can hold.
    FUZZ_REQUIRE(result < 0 || result > 255 || result == 0 || passes(result));
    return 0;
}
