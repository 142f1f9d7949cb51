#pragma once

// Replacing a file so that a reader finds the old one or the new one, whole.

#include <sys/types.h>

#include <string>
#include <string_view>

// Writes `text` into a new file made from `temp` (a mkostemp template ending
// in XXXXXX, in the file's own directory so that the rename is atomic), gives
// it `mode`, flushes it to disk and renames it over `file`. 0 when done; else
// the errno, with the new file removed and `file` left as it was.
int ReplaceFile(const std::string& file, std::string temp, std::string_view text, mode_t mode);
