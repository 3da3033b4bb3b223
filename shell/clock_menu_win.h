#pragma once
// The clock's right-click menu, and its remote-control items.
#include <windows.h>

#include "shell/remote_link_win.h"

namespace tallyglass {

// Remote control's items only while it listens: off, the menu is as it always was.
void ShowClockMenu(HWND window, const RemoteLink* remote);
// Copy the control link, or open the view page; false for another item.
bool OnRemoteMenuItem(HWND window, UINT id, const RemoteLink* remote);

}  // namespace tallyglass
