#pragma once
// The clock as a program: its start-up against the floor program's, step by step,
// and its working set idle and counting, with remote control off and on.
#include <string>

namespace tallyglass {

// exe: the clock; floorExe and remoteExe may be empty (then their figures are left out).
void ProcessFigures(const std::wstring& exe, const std::wstring& floorExe, const std::wstring& remoteExe);

}  // namespace tallyglass
