#pragma once
// The clock's global hot keys: registered on its window from the settings'
// texts, each on its own or not at all, and released with this object.
#include <windows.h>

#include <optional>
#include <vector>

#include "clock/hot_key_table.h"
#include "framework/hot_key_win.h"

namespace tallyglass {

class ClockHotKeys {
public:
    // Releases those held, then registers every slot whose text parses.
    void Register(HWND window, const CountdownModel& model);
    void Release();
    // The command of a WM_HOTKEY's id; nothing for an id that is not ours.
    std::optional<tallyglass::ClockCommand> CommandFor(WPARAM id) const;
    const std::vector<HotKeyStatus>& Statuses() const { return m_statuses; }

private:
    std::vector<HotKeyRegistration> m_registrations;
    std::vector<HotKeyStatus> m_statuses;
};

}  // namespace tallyglass
