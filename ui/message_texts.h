#pragma once

// The texts that the scan, the address change and the checks before it put
// in the status line, on buttons and in message boxes, in the installed
// language. Those parts of the program are shared with orbisk-cli and stay
// free of Qt, so their English texts are translated here on their way to the
// screen, line by line: a line that is one of the known texts, or one of them
// with values (addresses, MAC addresses, a system error) filled in, comes out
// translated with the same values; any other line (an address) as it is.

#include <QString>

#include <string>

QString TranslateMessage(const std::string& text);

// Whether every line of text is one of the known texts (or empty).
bool IsKnownMessage(const std::string& text);
