#pragma once
// Keeping the clock out of screen sharing: the presenter sees it, the audience
// of a shared screen does not.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace tallyglass {

enum class CaptureExclusion { NotAsked, Excluded, Refused, SystemTooOld };

struct CaptureSystem {
    // SetWindowDisplayAffinity, or empty where the system lacks it.
    std::function<BOOL(HWND, DWORD)> setAffinity;
    uint32_t windowsBuild = 0;
};
CaptureSystem ThisSystem();

// Only Windows 10 version 2004 (build 19041) and later can leave a window out of
// capture; earlier systems would show a black box instead, so they are not asked.
CaptureExclusion ExcludeFromCapture(HWND window, const CaptureSystem& system);

// Shown to capture again, as every window is (WDA_NONE); NotAsked.
CaptureExclusion IncludeInCapture(HWND window, const CaptureSystem& system);

// One line for About when the clock was asked to hide and could not; empty otherwise.
std::wstring CaptureExclusionNote(CaptureExclusion result);

}  // namespace tallyglass
