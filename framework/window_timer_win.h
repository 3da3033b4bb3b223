#pragma once
// SetTimer / KillTimer for a window's WM_TIMER.
#include <windows.h>

#include <utility>

class WindowTimer {
public:
    WindowTimer() = default;
    WindowTimer(HWND window, UINT_PTR id, UINT periodMs)
        : m_window(window), m_id(SetTimer(window, id, periodMs, nullptr)) {}
    WindowTimer(WindowTimer&& other) noexcept : m_window(other.m_window), m_id(std::exchange(other.m_id, 0)) {}
    WindowTimer& operator=(WindowTimer&& other) noexcept {
        if (this != &other) {
            reset();
            m_window = other.m_window;
            m_id = std::exchange(other.m_id, 0);
        }
        return *this;
    }
    WindowTimer(const WindowTimer&) = delete;
    WindowTimer& operator=(const WindowTimer&) = delete;
    ~WindowTimer() { reset(); }

    void reset() {
        if (m_id) KillTimer(m_window, m_id);
        m_id = 0;
    }

private:
    HWND m_window = nullptr;
    UINT_PTR m_id = 0;
};
