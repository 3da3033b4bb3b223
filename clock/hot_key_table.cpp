#include "clock/hot_key_table.h"

#include "command/command_line.h"

namespace tallyglass {

namespace {
using M = CountdownModel;
using tallyglass::CommandKind;

const std::vector<HotKeySlot> kSlots{
    {CommandKind::Start, "", "start", &M::m_hotKeyStart},
    {CommandKind::Reset, "", "reset", &M::m_hotKeyReset},
    {CommandKind::PauseOrResume, "", "pause/resume", &M::m_hotKeyPause},
    {CommandKind::AddSeconds, "60", "one minute more", &M::m_hotKeyPlus},
    {CommandKind::AddSeconds, "-60", "one minute less", &M::m_hotKeyMinus},
    {CommandKind::ToggleClickThrough, "", "click-through on/off", &M::m_hotKeyClickThrough},
    {CommandKind::NextSegment, "", "next segment", &M::m_hotKeyNext, true},
    {CommandKind::PreviousSegment, "", "previous segment", &M::m_hotKeyPrevious, true},
};

const char* Why(HotKeyState state) {
    switch (state) {
        case HotKeyState::Off:
            return "switched off";
        case HotKeyState::NotUnderstood:
            return "not a hot key";
        case HotKeyState::NoModifier:
            return "needs Ctrl, Alt, Shift or Win";
        case HotKeyState::Taken:
            return "held by another program";
        case HotKeyState::InForce:
        case HotKeyState::NotNeeded:
            break;
    }
    return "";
}

void Append(std::string& list, const std::string& item) { list += (list.empty() ? "" : ", ") + item; }
}  // namespace

const std::vector<HotKeySlot>& HotKeySlots() { return kSlots; }

tallyglass::ClockCommand CommandOf(const HotKeySlot& slot) {
    return *tallyglass::CheckCommand(slot.kind, slot.word).command;
}

std::string DescribeHotKeys(const std::vector<HotKeyStatus>& statuses) {
    std::string inForce;
    std::string notInForce;
    for (const HotKeyStatus& s : statuses) {
        if (s.state == HotKeyState::NotNeeded) continue;
        if (s.state == HotKeyState::InForce) {
            Append(inForce, s.text + " " + s.label);
            continue;
        }
        const std::string what = s.state == HotKeyState::Off ? "" : "\"" + s.text + "\": ";
        Append(notInForce, std::string(s.label) + " (" + what + Why(s.state) + ")");
    }
    std::string text = "Hot keys: " + (inForce.empty() ? std::string("none") : inForce);
    if (!notInForce.empty()) text += "; not in force: " + notInForce;
    return text;
}

std::string ControlsText(const std::vector<HotKeyStatus>& statuses) {
    return "F3: pause/resume    Up/Down: one minute more/less    Left/Right: previous/next segment\n" +
           DescribeHotKeys(statuses) + "\nCommand line: " + kCommandLineUsage;
}

}  // namespace tallyglass
