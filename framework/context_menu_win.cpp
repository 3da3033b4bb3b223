#include "framework/context_menu_win.h"

#include "framework/handles_win.h"

void ShowContextMenu(HWND owner, UINT menuId, int popupPosition) {
    Menu menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(menuId)));
    if (!menu) return;
    HMENU popup = GetSubMenu(menu.get(), popupPosition);
    if (!popup) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    // Without this a click elsewhere does not close the menu.
    SetForegroundWindow(owner);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, owner, nullptr);
    PostMessageW(owner, WM_NULL, 0, 0);
}
