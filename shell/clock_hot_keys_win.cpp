#include "shell/clock_hot_keys_win.h"

namespace tallyglass {

namespace {
HotKeyState StateOfParse(HotKeyParse outcome) {
    switch (outcome) {
        case HotKeyParse::Off:
            return HotKeyState::Off;
        case HotKeyParse::NoModifier:
            return HotKeyState::NoModifier;
        case HotKeyParse::NotUnderstood:
            return HotKeyState::NotUnderstood;
        case HotKeyParse::Ok:
            break;
    }
    return HotKeyState::InForce;
}
}  // namespace

void ClockHotKeys::Register(HWND window, const CountdownModel& model) {
    Release();
    const std::vector<HotKeySlot>& slots = HotKeySlots();
    for (size_t i = 0; i < slots.size(); ++i) {
        const std::string& text = model.*slots[i].text;
        const ParsedHotKey parsed = ParseHotKeyText(text);
        HotKeyStatus status{slots[i].label, text, StateOfParse(parsed.outcome)};
        if (slots[i].showOnly && model.m_show.empty()) status.state = HotKeyState::NotNeeded;
        if (status.state == HotKeyState::InForce) {
            status.text = FormatHotKey(parsed.key);
            HotKeyRegistration registration(window, static_cast<int>(i + 1), parsed.key.modifiers, parsed.key.keyCode);
            if (!registration.Registered()) status.state = HotKeyState::Taken;
            m_registrations.push_back(std::move(registration));
        }
        m_statuses.push_back(std::move(status));
    }
}

void ClockHotKeys::Release() {
    m_registrations.clear();
    m_statuses.clear();
}

std::optional<tallyglass::ClockCommand> ClockHotKeys::CommandFor(WPARAM id) const {
    if (id < 1 || id > HotKeySlots().size()) return std::nullopt;
    if (m_statuses.size() < id || m_statuses[id - 1].state != HotKeyState::InForce) return std::nullopt;
    return CommandOf(HotKeySlots()[id - 1]);
}

}  // namespace tallyglass
