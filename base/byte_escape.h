#pragma once

// Bytes written with backslash escapes, and read back. One notation serves
// the simulator's command line, the record of remembered devices and what the
// programs show of a device's texts: the reader takes \\ \0 \n \r \t and
// \xHH, and each writer uses a part of that, so what one writes reads back.

#include "status.h"

#include <cstddef>
#include <string>
#include <string_view>

// The value of one hexadecimal digit, either case; -1 for any other character.
int HexDigit(char c);

// Lower-case hex, two digits a byte, nothing between them.
std::string ToHex(std::string_view bytes);

// The escapes above, every other byte as it is. Fails with the reason, and
// the text, when a backslash escapes nothing known.
Result<std::string> UnescapeBytes(std::string_view text);

// "hex:" followed by hex digits (spaces allowed between bytes), or else text
// with the escapes.
Result<std::string> DecodeBytes(std::string_view text);

// A field of a tab-separated line: a tab, line break or backslash becomes
// \t, \n, \r or \\, every other byte stays as it is.
std::string EscapeSeparators(std::string_view text);

// Length of the well-formed UTF-8 sequence starting at text[i], 0 when the
// bytes there are not one (overlong forms and surrogates are not).
size_t Utf8SequenceLength(std::string_view text, size_t i);

// For a terminal, or a cell pasted into a spreadsheet: control characters
// (C0, DEL, and C1 encoded in UTF-8) and bytes outside well-formed UTF-8
// become \xNN; a backslash becomes \\. Nothing that moves the cursor or
// starts a new cell or line is left.
std::string EscapeForTerminal(std::string_view text);
