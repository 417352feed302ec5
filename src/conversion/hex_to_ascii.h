#pragma once

// Hexadecimal codes to characters.
//
// The hex text is read as two-digit codes separated by single blanks: only the pieces that
// start at characters 1, 4, 7, ... are decoded, so a missing or doubled blank shifts every later
// piece. Each piece goes through the code table (checkCODE): the code of a printable ASCII
// character gives that character, 7F gives nothing, and anything else gives the marker "[!]".

#include "input_array.h"

#include <string>
#include <string_view>

namespace quorvale {

inline constexpr std::u16string_view kUnknownCodeMarker = u"[!]";

// The code table: the decoding of one piece, compared exactly and case-sensitively ("4A" is a
// key, "4a" is not). Returns the character, the empty string, or the marker.
std::u16string_view checkCODE(std::u16string_view piece);

// Cuts code-page text into overlapping two-character pieces: element i (1..n) holds the
// characters i and i + 1, the last one a single character. An empty text leaves the array.
void PlaceInArray2(InputArray &array, std::string_view bytes);

struct Decoding
{
    std::u16string text; // the decoded characters and markers
    std::u16string last; // what the last piece decoded to
    bool marked = false; // the text holds "[!]" (shown in red)
};

// Decodes code-page hex text. Nothing is decoded from an empty text.
Decoding decodeHex(std::string_view bytes);

// Decodes a pane's text: decodeHex(codepage::encode(text)).
Decoding hexToAscii(std::u16string_view text);

} // namespace quorvale
