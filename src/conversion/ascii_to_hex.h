#pragma once

// Characters to hexadecimal codes.
//
// The codes are written with single blanks between them and none at either end, except that a
// single code keeps the blank in front of it ("A" gives " 41", "AB" gives "41 42"): the output
// has always been built by appending a blank and a code to the trimmed previous output.

#include "input_array.h"

#include <string>
#include <string_view>

namespace quorvale {

// Splits code-page text into one-character elements 1..n of `array`; an empty text leaves the
// array as it was.
void PlaceInArray(InputArray &array, std::string_view bytes);

// The hex codes of code-page text, in the output format above.
std::u16string hexText(std::string_view bytes);

// The hex codes of a pane's text: hexText(codepage::encode(text)).
std::u16string asciiToHex(std::u16string_view text);

} // namespace quorvale
