#pragma once
// SetWinEventHook / UnhookWinEvent.
#include <windows.h>

#include <utility>

class WinEventHook {
public:
    WinEventHook() = default;
    WinEventHook(DWORD event, WINEVENTPROC callback, DWORD flags)
        : m_hook(SetWinEventHook(event, event, nullptr, callback, 0, 0, flags)) {}
    WinEventHook(WinEventHook&& other) noexcept : m_hook(std::exchange(other.m_hook, nullptr)) {}
    WinEventHook& operator=(WinEventHook&& other) noexcept {
        if (this != &other) {
            reset();
            m_hook = std::exchange(other.m_hook, nullptr);
        }
        return *this;
    }
    WinEventHook(const WinEventHook&) = delete;
    WinEventHook& operator=(const WinEventHook&) = delete;
    ~WinEventHook() { reset(); }

    explicit operator bool() const { return m_hook != nullptr; }
    void reset() {
        if (m_hook) UnhookWinEvent(m_hook);
        m_hook = nullptr;
    }

private:
    HWINEVENTHOOK m_hook = nullptr;
};
