#pragma once
// The settings window opened over the clock: what it starts from (the file's values,
// the run of show, this PC's addresses and monitors, which hot keys are free), and
// each change it hands over, written into the file at once and then applied to the
// running clock as one command.
#include <windows.h>

#include <functional>

#include "command/clock_command.h"
#include "shell/clock_parts_win.h"

namespace tallyglass {

void OpenSettingsWindow(HWND window, ClockParts& parts, const CountdownModel& model,
                        const std::function<void(const ClockCommand&)>& apply);

}  // namespace tallyglass
