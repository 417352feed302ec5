#pragma once

// The 8-bit code page of the panes.
//
// The panes hold Unicode text, but every character code that Quorvale shows or reads is a byte
// of one of the single-byte Windows code pages, as the conversions have always worked on 8-bit
// text: the page that Windows gives the user's language (Windows-1251 for Russian, 1250 for
// Polish, ...), Windows-1252 where that page is not single-byte. The platform chooses it once at
// start-up (use()); until then it is Windows-1252. A line break is the two characters CR LF, and
// a character that the page cannot hold becomes "?", the way the system's own conversion of such
// text does it without guessing a look-alike.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorvale::codepage {

// The single-byte Windows code pages, by number. Any other number stands for Windows-1252.
inline constexpr int kWestern = 1252;
inline constexpr std::array<int, 10> kPages = {874,  1250, 1251, 1252, 1253,
                                               1254, 1255, 1256, 1257, 1258};

// The page for the system's ANSI code page `acp` of Windows: acp itself where it is one of
// kPages, else Windows-1252 (the multi-byte pages of East Asia, UTF-8).
int forAnsiCodePage(unsigned acp);

// The page that Windows gives the language (and script, and where it matters region) of a POSIX
// locale name such as "ru_RU.UTF-8", "sr_RS@latin" or "pl"; Windows-1252 for "C", "POSIX", an
// empty or unknown name and the languages whose Windows page is not single-byte.
int forLocale(std::string_view name);

// Makes `page` (one of kPages; any other number gives Windows-1252) the page of every conversion
// from now on.
void use(int page);

// The number of the page in use.
int inUse();

// What a character outside the code page turns into.
inline constexpr std::uint8_t kSubstitute = '?';

// The most characters a pane holds, counted in the code page (a line break counts two).
inline constexpr std::size_t kPaneCapacity = 300;

// The byte of one Unicode code point, kSubstitute when the page has no such character (also
// when it writes it as a letter and a mark, see encode()). Line breaks are not handled here.
std::uint8_t fromCodePoint(char32_t codePoint);

// The Unicode character of one byte of the code page.
char16_t toChar(std::uint8_t byte);

// True for the characters that end a line in a pane's text: LF, and the line and paragraph
// separators (U+2028, U+2029) that a text document keeps for them.
constexpr bool isLineBreak(char16_t c)
{
    return c == u'\n' || c == u'\u2028' || c == u'\u2029';
}

// The text as code-page bytes: line breaks as CR LF, surrogate pairs as one character, and a
// letter that the page holds only as a base letter and a combining mark (Vietnamese tones,
// Hebrew points) as those bytes.
std::string encode(std::u16string_view text);

// The length of encode(text), without building it.
std::size_t length(std::u16string_view text);

// How many UTF-16 units from the start of `text` fit into `room` code-page characters, never
// splitting a surrogate pair, a line break or a letter written as several bytes.
std::size_t fittingPrefix(std::u16string_view text, std::size_t room);

} // namespace quorvale::codepage
