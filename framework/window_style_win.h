#pragma once
#include <windows.h>

namespace tallyglass {

// The window's big and small icon. Worth deferring past the first frame: Wine turns
// each into the X window's icon property, some milliseconds of a start-up.
void SetWindowIcons(HWND window, HICON icon);

// Clicks on the window go to the window below it (or come back to it).
void SetClickThrough(HWND window, bool on);

// WM_PAINT of a minimised window: its icon, centred.
void PaintMinimisedIcon(HWND window, HICON icon);

// The process a window belongs to (0 for none), and whether that is this one.
DWORD ProcessOfWindow(HWND window);
inline bool OfThisProcess(HWND window) { return window && ProcessOfWindow(window) == GetCurrentProcessId(); }

}  // namespace tallyglass
