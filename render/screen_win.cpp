#include "render/screen_win.h"

#include "framework/handles_win.h"
#include "framework/text_win.h"

namespace tallyglass {

namespace {
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

// Looked up once: Windows before 10 (1607) has no per-window DPI.
GetDpiForWindowFn PerWindowDpi() {
    static const GetDpiForWindowFn function = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    return function;
}

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) {
        const RECT& r = info.rcWork;
        reinterpret_cast<std::vector<ScreenRect>*>(areas)->push_back({r.left, r.top, r.right, r.bottom});
    }
    return TRUE;
}
}  // namespace

uint32_t DpiForWindow(HWND window) {
    if (const GetDpiForWindowFn function = PerWindowDpi()) {
        if (const UINT dpi = function(window)) return dpi;
    }
    const WindowDc screen(nullptr);
    const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    return dpi > 0 ? static_cast<uint32_t>(dpi) : 96;
}

std::vector<ScreenRect> MonitorWorkAreas() {
    std::vector<ScreenRect> areas;
    EnumDisplayMonitors(nullptr, nullptr, &AddWorkArea, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

namespace {
struct MonitorSearch {
    std::wstring name;
    bool primary;
    std::optional<ScreenRect> found;
};

BOOL CALLBACK MatchMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    auto& wanted = *reinterpret_cast<MonitorSearch*>(data);
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info)) return TRUE;
    const bool match = wanted.primary ? (info.dwFlags & MONITORINFOF_PRIMARY) != 0 : wanted.name == info.szDevice;
    if (match) wanted.found = ScreenRect{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
    return match ? FALSE : TRUE;
}
}  // namespace

std::optional<ScreenRect> NamedMonitorWorkArea(const std::string& name) {
    if (name.empty()) return std::nullopt;
    MonitorSearch search{Widen(name), name == "primary", std::nullopt};
    EnumDisplayMonitors(nullptr, nullptr, &MatchMonitor, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace tallyglass
