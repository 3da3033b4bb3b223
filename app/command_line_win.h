#pragma once
// The process's own command line: its words, and the message for bad ones.
#include <windows.h>

#include <string>
#include <vector>

#include "command/command_line.h"
#include "store/show_table.h"

namespace tallyglass {

// The words after the program's name, UTF-8.
std::vector<std::string> ProcessWords();

// The usage and the offending word, in a message box and, when the program was
// started from a console, on that console too.
void ReportBadCommandLine(const ParsedCommandLine& parsed);

// --show's file, read where this process stands: its rows become the orders' show, and
// its path is made whole in the words handed over (the running clock stands elsewhere).
// The table, whose rows not taken are to be named.
ShowTable TakeShowFile(CommandLine& line, std::vector<std::string>& handedOver);

// The rows of --show's file not taken, in a message box and on a console as above; when
// none was taken, with the usage, as for a bad word. Nothing when every row was taken.
void ReportShowTable(const std::string& path, const ShowTable& table);

// The exit status after a bad command line.
constexpr int kBadCommandLineStatus = 2;

}  // namespace tallyglass
