#pragma once

// The key filter of the hex pane: which typed characters reach it.

namespace quorvale {

// Key code of a typed character in the pane's code page; 0 discards the character.
using KeyAscii = int;

// a to f become A to F; every other code stays as it is.
KeyAscii checkCASE(KeyAscii keyAscii);

// The typed character as the hex pane takes it: while the pane is the output pane nothing is
// taken; otherwise hex digits (a-f made upper case), the blank and Backspace pass, every other
// code from 0 to 255 is discarded, and codes outside 0..255 pass unchanged.
KeyAscii filterHexKey(KeyAscii keyAscii, bool paneIsOutput);

} // namespace quorvale
