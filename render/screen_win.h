#pragma once
// What the screens are like now: their DPI and their work areas.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "render/placement.h"

namespace tallyglass {

// The DPI of the monitor that holds the window (per-monitor aware processes),
// or of the system where the system cannot say per window.
uint32_t DpiForWindow(HWND window);

// The work area (without the taskbar) of every monitor attached now.
std::vector<ScreenRect> MonitorWorkAreas();
// The work area of the monitor a setting names: "primary", or a device name as
// Windows gives it (\\.\DISPLAY2); none for an empty name or a monitor not attached.
std::optional<ScreenRect> NamedMonitorWorkArea(const std::string& name);

}  // namespace tallyglass
