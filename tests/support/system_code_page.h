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

class Iconv
{
public:
    Iconv(const std::string &to, const std::string &from)
        : m_cd(iconv_open(to.c_str(), from.c_str()))
    {}
    ~Iconv() { iconv_close(m_cd); }
    Iconv(const Iconv &) = delete;
    Iconv &operator=(const Iconv &) = delete;

    std::optional<std::string> operator()(std::string in)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char out[16];
        char *inPtr = in.data();
        char *outPtr = out;
        std::size_t inLeft = in.size();
        std::size_t outLeft = sizeof out;
        if (iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
            iconv(m_cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
            return std::nullopt;
        return std::string(out, static_cast<std::size_t>(outPtr - out));
    }

private:
    iconv_t m_cd;
};

inline std::string iconvName(int page)
{
    return "WINDOWS-" + std::to_string(page);
}

// The character of `byte` in `page`; nullopt for the bytes that glibc leaves undefined.
inline std::optional<char16_t> systemChar(int page, std::uint8_t byte)
{
    Iconv convert("UTF-16LE", iconvName(page));
    const auto out = convert(std::string(1, static_cast<char>(byte)));
    if (!out || out->size() != 2)
        return std::nullopt;
    return static_cast<char16_t>(static_cast<unsigned char>((*out)[0]) |
                                 static_cast<unsigned char>((*out)[1]) << 8);
}

// The bytes of a character of the Basic Multilingual Plane in `page`; nullopt where the page
// lacks it. glibc writes some letters as a base letter and a combining mark.
inline std::optional<std::string> systemBytes(int page, char16_t c)
{
    thread_local int openPage = 0;
    thread_local std::optional<Iconv> convert;
    if (openPage != page) {
        convert.emplace(iconvName(page), "UTF-16LE");
        openPage = page;
    }
    return (*convert)(std::string{static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)});
}

#endif

} // namespace quorvale::testing
