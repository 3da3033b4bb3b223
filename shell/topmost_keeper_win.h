#pragma once
// Keeps the clock above windows that come up after it (a slide show raising
// itself, say), without ever taking the focus.
#include <windows.h>

#include <functional>

#include "framework/handles_win.h"
#include "shell/window_messages_win.h"

namespace tallyglass {

class TopmostKeeper {
public:
    // The window's WM_TIMER with this id is the keeper's fallback check.
    static constexpr UINT_PTR kCheckTimerId = kTopmostCheckTimerId;
    static constexpr UINT kCheckPeriodMs = 2000;

    explicit TopmostKeeper(HWND window, UINT checkPeriodMs = kCheckPeriodMs);
    ~TopmostKeeper();
    TopmostKeeper(const TopmostKeeper&) = delete;
    TopmostKeeper& operator=(const TopmostKeeper&) = delete;

    // For systems that do not report foreground changes: puts the clock back on
    // top when a window of another program has come above it.
    void OnCheckTimer();
    bool Hooked() const { return static_cast<bool>(m_hook); }
    // Told of each window of another program that comes to the front (the slide show's watcher).
    void SetForegroundListener(std::function<void(HWND)> listener) { m_listener = std::move(listener); }

private:
    static void CALLBACK OnForegroundChanged(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) noexcept;
    bool OtherProgramAbove() const;
    void Reassert();

    HWND m_window;
    std::function<void(HWND)> m_listener;
    WinEventHook m_hook;
    WindowTimer m_timer;
};

}  // namespace tallyglass
