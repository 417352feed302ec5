#pragma once

// The 8-bit code page of the panes.
//
// The panes hold Unicode text, but every character code that Quorvale shows or reads is a byte
// of the Windows-1252 code page, as the conversions have always worked on 8-bit text. A line
// break is the two characters CR LF there, and a character that the code page cannot hold
// becomes "?", the way the system's own conversion of such text does it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorvale::codepage {

// What a character outside the code page turns into.
inline constexpr std::uint8_t kSubstitute = '?';

// The most characters a pane holds, counted in the code page (a line break counts two).
inline constexpr std::size_t kPaneCapacity = 300;

// The byte of one Unicode code point, kSubstitute when the page has no such character.
// Line breaks are not handled here: see encode().
std::uint8_t fromCodePoint(char32_t codePoint);

// The Unicode character of one byte of the code page.
char16_t toChar(std::uint8_t byte);

// True for the characters that end a line in a pane's text: LF, and the line and paragraph
// separators (U+2028, U+2029) that a text document keeps for them.
constexpr bool isLineBreak(char16_t c)
{
    return c == u'\n' || c == u'\u2028' || c == u'\u2029';
}

// The text as code-page bytes: line breaks as CR LF, surrogate pairs as one character.
std::string encode(std::u16string_view text);

// The length of encode(text), without building it.
std::size_t length(std::u16string_view text);

// How many UTF-16 units from the start of `text` fit into `room` code-page characters, never
// splitting a surrogate pair or a line break.
std::size_t fittingPrefix(std::u16string_view text, std::size_t room);

} // namespace quorvale::codepage
