#pragma once
#include <windows.h>

#include <initializer_list>

namespace tallyglass {

// Shows one popup of a menu resource at the cursor, without the items whose
// commands are left out; its command reaches the owner as WM_COMMAND. Returns
// when the menu is closed.
void ShowContextMenu(HWND owner, UINT menuId, int popupPosition, std::initializer_list<UINT> leftOut = {});

}  // namespace tallyglass
