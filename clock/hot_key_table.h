#pragma once
// The clock's hot keys: which settings text each comes from, and the line
// About shows of those in force and those that are not, with why.
#include <string>
#include <vector>

#include "clock/countdown_model.h"
#include "command/clock_command.h"
#include "command/hot_key_text.h"

namespace tallyglass {

struct HotKeySlot {
    tallyglass::CommandKind kind;
    const char* word;   // the command's value, as the network would send it
    const char* label;  // as About names it
    std::string CountdownModel::*text;
    bool showOnly = false;  // only with a run of show: without one the keys stay free for other programs
};

// The command a slot's hot key gives.
tallyglass::ClockCommand CommandOf(const HotKeySlot& slot);

// In the order of their ids: a slot's id for RegisterHotKey is its index + 1.
const std::vector<HotKeySlot>& HotKeySlots();

// NotNeeded: a show's hot key without a run of show; About does not mention it.
enum class HotKeyState { InForce, Off, NotUnderstood, NoModifier, Taken, NotNeeded };

struct HotKeyStatus {
    const char* label;
    std::string text;  // as written in the settings, or as formatted when in force
    HotKeyState state;
};

// "Hot keys: Ctrl+Alt+F2 start, ...; not in force: pause (Ctrl+Alt+F3: held by
// another program), ..." (UTF-8).
std::string DescribeHotKeys(const std::vector<HotKeyStatus>& statuses);

// About's lines on the controls: the clock's keys beyond F2 and F4, the hot keys as described
// above, and the command line's usage in one line (UTF-8).
std::string ControlsText(const std::vector<HotKeyStatus>& statuses);

}  // namespace tallyglass
