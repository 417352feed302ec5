#pragma once

// The system's own conversions of the single-byte Windows code pages, to check Quorvale's tables
// against: glibc's iconv on Linux, MultiByteToWideChar and WideCharToMultiByte on Windows.

#include <cstdint>
#include <optional>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace quorvale::testing {

#ifdef _WIN32

// The character of `byte` in `page`; Windows defines every byte.
inline std::optional<char16_t> systemChar(int page, std::uint8_t byte)
{
    const char in = static_cast<char>(byte);
    wchar_t out[2] = {};
    if (MultiByteToWideChar(static_cast<UINT>(page), 0, &in, 1, out, 2) != 1)
        return std::nullopt;
    return static_cast<char16_t>(out[0]);
}

// The bytes of a character of the Basic Multilingual Plane in `page`, without best-fit
// look-alikes; nullopt where the page lacks it.
inline std::optional<std::string> systemBytes(int page, char16_t c)
{
    const wchar_t in = static_cast<wchar_t>(c);
    char out[8] = {};
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(static_cast<UINT>(page), WC_NO_BEST_FIT_CHARS, &in, 1, out,
                                      sizeof out, nullptr, &usedDefault);
    if (n <= 0 || usedDefault)
        return std::nullopt;
    return std::string(out, static_cast<std::size_t>(n));
}

#else

// One character or byte through glibc's iconv, from `from` to `to`; nullopt where it has none.
inline std::optional<std::string> convert(const std::string &to, const std::string &from,
                                          std::string in)
{
    const iconv_t cd = iconv_open(to.c_str(), from.c_str());
    char out[16];
    char *inPtr = in.data();
    char *outPtr = out;
    std::size_t inLeft = in.size();
    std::size_t outLeft = sizeof out;
    const bool done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != std::size_t(-1) &&
                      iconv(cd, nullptr, nullptr, &outPtr, &outLeft) != std::size_t(-1);
    iconv_close(cd);
    return done ? std::optional(std::string(out, std::size_t(outPtr - out))) : std::nullopt;
}

// The character of `byte` in `page`; nullopt for the bytes that glibc leaves undefined.
inline std::optional<char16_t> systemChar(int page, std::uint8_t byte)
{
    const auto out =
        convert("UTF-16LE", "WINDOWS-" + std::to_string(page), std::string(1, char(byte)));
    if (!out || out->size() != 2)
        return std::nullopt;
    return char16_t(std::uint8_t((*out)[0]) | std::uint8_t((*out)[1]) << 8);
}

// The bytes of a character of the Basic Multilingual Plane in `page`; nullopt where the page
// lacks it. glibc writes some letters as a base letter and combining marks.
inline std::optional<std::string> systemBytes(int page, char16_t c)
{
    return convert("WINDOWS-" + std::to_string(page), "UTF-16LE",
                   std::string{char(c & 0xFF), char(c >> 8)});
}

#endif

} // namespace quorvale::testing
