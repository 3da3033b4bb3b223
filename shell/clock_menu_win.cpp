#include "shell/clock_menu_win.h"

#include <shellapi.h>

#include "framework/clipboard_win.h"
#include "framework/context_menu_win.h"
#include "res/resource.h"

namespace tallyglass {

void ShowClockMenu(HWND window, const RemoteLink* remote) {
    if (remote && remote->Listening())
        ShowContextMenu(window, IDR_CONTEXT_MENU, 0);
    else
        ShowContextMenu(window, IDR_CONTEXT_MENU, 0, {ID_COPY_REMOTE_LINK, ID_OPEN_VIEWER});
}

bool OnRemoteMenuItem(HWND window, UINT id, const RemoteLink* remote) {
    if (id == ID_COPY_REMOTE_LINK) {
        if (remote) CopyTextToClipboard(window, remote->ControlLink());
        return true;
    }
    if (id == ID_OPEN_VIEWER) {
        if (remote && remote->Listening())
            ShellExecuteW(window, L"open", remote->ViewLink().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        return true;
    }
    return false;
}

}  // namespace tallyglass
