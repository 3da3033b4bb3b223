#pragma once
// The process's own command line: its words, and the message for bad ones.
#include <windows.h>

#include <string>
#include <vector>

#include "command/command_line.h"

namespace tallyglass {

// The words after the program's name, UTF-8.
std::vector<std::string> ProcessWords();

// The usage and the offending word, in a message box and, when the program was
// started from a console, on that console too.
void ReportBadCommandLine(const ParsedCommandLine& parsed);

// The exit status after a bad command line.
constexpr int kBadCommandLineStatus = 2;

}  // namespace tallyglass
