#pragma once
// RegisterHotKey / UnregisterHotKey on one window, owned by a move-only type.
#include <windows.h>

namespace tallyglass {

class HotKeyRegistration {
public:
    HotKeyRegistration() = default;
    // MOD_NOREPEAT is added: a held key acts once.
    HotKeyRegistration(HWND window, int id, UINT modifiers, UINT keyCode);
    HotKeyRegistration(HotKeyRegistration&& other) noexcept;
    HotKeyRegistration& operator=(HotKeyRegistration&& other) noexcept;
    HotKeyRegistration(const HotKeyRegistration&) = delete;
    HotKeyRegistration& operator=(const HotKeyRegistration&) = delete;
    ~HotKeyRegistration() { reset(); }

    bool Registered() const { return m_window != nullptr; }
    // GetLastError of a failed registration; 0 when it succeeded.
    DWORD Error() const { return m_error; }
    void reset();

private:
    HWND m_window = nullptr;
    int m_id = 0;
    DWORD m_error = 0;
};

}  // namespace tallyglass
