// Names and texts from a result folder as they go into a message.
//
// A file name, a folder or a token read from a file can hold any byte. Put
// into a message as it is, an ESC turns the terminal's colours, a line feed
// splits one message into two and a CR overwrites it. shown_text makes such
// a text safe to print: printable UTF-8 stays as it is, everything else is
// written as an escape, and a text too long to read in a message is cut.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Characters of a text kept in a message: a path of 255 characters (the
// longest the control data name) is kept whole.
constexpr std::size_t kShownTextLength = 256;

// `text` for a message: LF, CR and TAB as \n, \r and \t; other control bytes
// (0x00-0x1f, 0x7f), the C1 controls (U+0080-U+009F, taken by terminals as
// commands) and every byte that is not part of valid UTF-8 as \xNN (lower-
// case hex, e.g. \x1b); the line and paragraph separators and the bidi
// controls (U+2028-U+202E, U+2066-U+2069), which reorder what follows, as
// \uNNNN. Cut after `length` characters (an escape counts as the characters
// it is written with), "…" marking the cut.
std::string shown_text(std::string_view text, std::size_t length = kShownTextLength);
