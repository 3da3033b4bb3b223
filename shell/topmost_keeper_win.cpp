#include "shell/topmost_keeper_win.h"

#include <algorithm>
#include <vector>

#include "framework/window_style_win.h"

namespace tallyglass {

namespace {
// Every keeper of this UI thread; the event hook's callback has no user data.
thread_local std::vector<TopmostKeeper*> t_keepers;

// Our own menu, dialog or about box is up: the clock must not cover it.
bool OwnPopupIsOpen(HWND clock) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(GetCurrentThreadId(), &info) && (info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE)))
        return true;
    return !IsWindowEnabled(clock);
}
}  // namespace

TopmostKeeper::TopmostKeeper(HWND window, UINT checkPeriodMs)
    : m_window(window),
      m_hook(SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                             &TopmostKeeper::OnForegroundChanged, 0, 0,
                             WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS)),
      m_timer(WindowTimerId{window, SetTimer(window, kCheckTimerId, checkPeriodMs, nullptr)}) {
    t_keepers.push_back(this);
}

TopmostKeeper::~TopmostKeeper() {
    t_keepers.erase(std::remove(t_keepers.begin(), t_keepers.end(), this), t_keepers.end());
}

void CALLBACK TopmostKeeper::OnForegroundChanged(HWINEVENTHOOK, DWORD, HWND foreground, LONG, LONG, DWORD,
                                                 DWORD) noexcept {
    for (TopmostKeeper* keeper : t_keepers) {
        keeper->Reassert();
        if (keeper->m_listener) keeper->m_listener(foreground);
    }
}

void TopmostKeeper::OnCheckTimer() {
    if (OtherProgramAbove()) Reassert();
}

bool TopmostKeeper::OtherProgramAbove() const {
    RECT clock{};
    GetWindowRect(m_window, &clock);
    for (HWND above = GetWindow(m_window, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
        RECT rect{}, overlap{};
        if (!IsWindowVisible(above) || OfThisProcess(above) || !GetWindowRect(above, &rect)) continue;
        if (IntersectRect(&overlap, &clock, &rect)) return true;
    }
    return false;
}

void TopmostKeeper::Reassert() {
    if (!IsWindow(m_window) || OwnPopupIsOpen(m_window)) return;
    // The top of the topmost band, without activation: the slide show keeps the keyboard.
    SetWindowPos(m_window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace tallyglass
