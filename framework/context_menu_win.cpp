#include "framework/context_menu_win.h"

#include "framework/handles_win.h"
#include "framework/resource_language_win.h"

namespace tallyglass {

void ShowContextMenu(HWND owner, UINT menuId, int popupPosition, std::initializer_list<UINT> leftOut) {
    const auto* menuTemplate = static_cast<const MENUTEMPLATEW*>(
        LoadLocalizedResource(MAKEINTRESOURCEW(menuId), MAKEINTRESOURCEW(4) /* RT_MENU */));
    Menu menu(menuTemplate ? LoadMenuIndirectW(menuTemplate) : nullptr);
    if (!menu) return;
    HMENU popup = GetSubMenu(menu.get(), popupPosition);
    if (!popup) return;
    for (UINT command : leftOut) DeleteMenu(popup, command, MF_BYCOMMAND);
    POINT cursor{};
    GetCursorPos(&cursor);
    // Without this a click elsewhere does not close the menu.
    SetForegroundWindow(owner);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, owner, nullptr);
    PostMessageW(owner, WM_NULL, 0, 0);
}

}  // namespace tallyglass
