#include "framework/hot_key_win.h"

#include <utility>

#include "framework/handles_win.h"

namespace tallyglass {

#ifndef MOD_NOREPEAT
#define MOD_NOREPEAT 0x4000
#endif

HotKeyRegistration::HotKeyRegistration(HWND window, int id, UINT modifiers, UINT keyCode) : m_id(id) {
    if (RegisterHotKey(window, id, modifiers | MOD_NOREPEAT, keyCode)) {
        m_window = window;
        handles::CountAcquired();
    } else {
        m_error = GetLastError();
    }
}

HotKeyRegistration::HotKeyRegistration(HotKeyRegistration&& other) noexcept
    : m_window(std::exchange(other.m_window, nullptr)), m_id(other.m_id), m_error(other.m_error) {}

HotKeyRegistration& HotKeyRegistration::operator=(HotKeyRegistration&& other) noexcept {
    if (this != &other) {
        reset();
        m_window = std::exchange(other.m_window, nullptr);
        m_id = other.m_id;
        m_error = other.m_error;
    }
    return *this;
}

void HotKeyRegistration::reset() {
    if (!m_window) return;
    UnregisterHotKey(m_window, m_id);
    handles::CountReleased();
    m_window = nullptr;
}

}  // namespace tallyglass
