#pragma once
// Hot-key texts such as "Ctrl+Alt+F2": the modifier bits and the virtual-key
// code that RegisterHotKey takes, and the text About shows for them.
#include <cstdint>
#include <string>
#include <string_view>

namespace tallyglass {

// The values of MOD_ALT, MOD_CONTROL, MOD_SHIFT and MOD_WIN.
namespace hot_key_modifier {
constexpr uint32_t kAlt = 0x1;
constexpr uint32_t kControl = 0x2;
constexpr uint32_t kShift = 0x4;
constexpr uint32_t kWin = 0x8;
}  // namespace hot_key_modifier

struct HotKey {
    uint32_t modifiers = 0;
    uint32_t keyCode = 0;  // a Windows virtual-key code
    bool operator==(const HotKey& other) const { return modifiers == other.modifiers && keyCode == other.keyCode; }
};

enum class HotKeyParse { Off, Ok, NotUnderstood, NoModifier };

struct ParsedHotKey {
    HotKeyParse outcome = HotKeyParse::Off;
    HotKey key;
};

// Modifiers (Ctrl, Alt, Shift, Win) joined by "+" to one key: F1 to F24, a
// letter, a digit, an arrow (Left, Right, Up, Down), Space, PageUp, PageDown,
// Home or End. Any case; blanks anywhere are ignored. Empty: Off.
ParsedHotKey ParseHotKeyText(std::string_view text);

// "Ctrl+Alt+F2": modifiers in that order, then the key's name.
std::string FormatHotKey(const HotKey& key);

}  // namespace tallyglass
