#pragma once

// Shared by the fuzz targets: an invariant check that stops the run with a message, and the
// ways a target turns the fuzzer's bytes into pane text.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// Unlike assert(), stays active in optimised builds, which is how the targets are built.
#define FUZZ_REQUIRE(condition)                                                                    \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace quorvale::fuzzing {

// Pairs of bytes as UTF-16 units (little end first), so lone and paired surrogates, line
// separators and every other unit are all reachable. An odd last byte is dropped.
inline std::u16string utf16Of(const std::uint8_t *data, std::size_t size)
{
    std::u16string text;
    text.reserve(size / 2);
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    return text;
}

inline bool isUpperHexDigit(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F');
}

inline unsigned hexValue(char16_t c)
{
    return c <= u'9' ? static_cast<unsigned>(c - u'0') : static_cast<unsigned>(c - u'A' + 10);
}

} // namespace quorvale::fuzzing
