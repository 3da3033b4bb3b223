#pragma once
// Save report…: the day's report from the run log, written where the user chooses
// in the system's save dialog.
#include <windows.h>

#include <string>
#include <vector>

#include "store/run_of_show.h"

namespace tallyglass {

void SaveReport(HWND owner, const std::wstring& runLog, const std::vector<ShowSegment>& show, bool chinese);

}  // namespace tallyglass
