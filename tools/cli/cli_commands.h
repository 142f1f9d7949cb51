#pragma once

#include <ostream>
#include <string>
#include <vector>

// orbisk-cli with the arguments after the program name; returns the exit
// status (CliStatus). Results go to out, complaints to err.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
