#pragma once
// A running order from a spreadsheet's file, for the command line and the settings
// window; and a new show the command line orders, into the settings file.
#include <windows.h>

#include <string>
#include <vector>

#include "command/clock_command.h"
#include "core/core_win.h"
#include "store/show_table.h"

namespace tallyglass {

// The file's rows, read only when it is at most kMaxShowTableBytes; a file that cannot
// be read is the table's one problem.
ShowTable ReadShowFile(const std::wstring& path);

// A show the commands replace, written into the settings file as the settings window
// writes one (through the merge), before the clock applies them.
void StoreShowOf(CCore& core, const std::vector<ClockCommand>& commands);

}  // namespace tallyglass
