#pragma once

#include <string>

// Reads the device administrator's password: one line of standard input with
// fromStdin, otherwise from the terminal on standard input with echo off and
// the prompt on standard error. False with a message when there is no
// terminal, the input ends first, or the password is empty.
bool ReadPassword(bool fromStdin, std::string& password, std::string& error);

// Overwrites the text's bytes before it is freed.
void WipeText(std::string& text);
