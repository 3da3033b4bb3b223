#pragma once
#include <windows.h>

// Shows one popup of a menu resource at the cursor; its command reaches the
// owner as WM_COMMAND. Returns when the menu is closed.
void ShowContextMenu(HWND owner, UINT menuId, int popupPosition);
