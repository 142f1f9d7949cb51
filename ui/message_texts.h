#pragma once

// The texts that the scan, the address change and the checks before it put
// in the status line, on buttons and in message boxes, in the installed
// language. Those parts of the program are shared with orbisk-cli and stay
// free of Qt: they mark each sentence where they write it (TEXT_ID) and hand
// it over with its values, which are filled into the translated sentence.

#include "operator_text.h"

#include <string>

std::string Translated(const OperatorText& text);
