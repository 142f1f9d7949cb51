#pragma once

// The shell completions of orbisk-cli, made from its option tables when it
// is built, so that they offer exactly the commands and options it reads.

#include <string>

std::string BashCompletion();
std::string FishCompletion();
