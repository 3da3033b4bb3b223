#include <gtest/gtest.h>

#include "core/setting_keys.h"
#include "core/settings_store.h"
#include "countdown/hot_key_table.h"

namespace {
TEST(HotKeyTable, TheDefaultsParseToTheirActions) {
    struct Expected {
        const char* key;
        ClockAction action;
        const char* text;
    };
    const Expected expected[] = {
        {setting_keys::kHotKeyStart, ClockAction::Start, "Ctrl+Alt+F2"},
        {setting_keys::kHotKeyReset, ClockAction::Reset, "Ctrl+Alt+F4"},
        {setting_keys::kHotKeyPause, ClockAction::PauseResume, "Ctrl+Alt+F3"},
        {setting_keys::kHotKeyPlus, ClockAction::AddMinute, "Ctrl+Alt+PageUp"},
        {setting_keys::kHotKeyMinus, ClockAction::TakeMinute, "Ctrl+Alt+PageDown"},
        {setting_keys::kHotKeyClickThrough, ClockAction::ToggleClickThrough, "Ctrl+Alt+F6"},
    };
    ASSERT_EQ(HotKeySlots().size(), std::size(expected));
    SettingsStore store;
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(HotKeySlots()[i].action, expected[i].action) << i;
        const std::string text = store.GetText(expected[i].key);
        EXPECT_EQ(text, expected[i].text);
        const ParsedHotKey parsed = ParseHotKeyText(text);
        ASSERT_EQ(parsed.outcome, HotKeyParse::Ok) << text;
        EXPECT_EQ(FormatHotKey(parsed.key), text);  // About shows them as the file does
    }
}

TEST(HotKeyTable, AboutNamesThoseInForceAndWhyTheOthersAreNot) {
    struct Case {
        std::vector<HotKeyStatus> statuses;
        const char* text;
    };
    const Case cases[] = {
        {{{"start", "Ctrl+Alt+F2", HotKeyState::InForce}, {"reset", "Ctrl+Alt+F4", HotKeyState::InForce}},
         "Hot keys: Ctrl+Alt+F2 start, Ctrl+Alt+F4 reset"},
        {{{"start", "Ctrl+Alt+F2", HotKeyState::InForce},
          {"pause/resume", "Ctrl+Alt+F3", HotKeyState::Taken},
          {"reset", "", HotKeyState::Off},
          {"one minute more", "Ctrl+Alt+Foo", HotKeyState::NotUnderstood},
          {"one minute less", "F9", HotKeyState::NoModifier}},
         "Hot keys: Ctrl+Alt+F2 start; not in force: pause/resume (\"Ctrl+Alt+F3\": held by another program), "
         "reset (switched off), one minute more (\"Ctrl+Alt+Foo\": not a hot key), "
         "one minute less (\"F9\": needs Ctrl, Alt, Shift or Win)"},
        {{{"start", "", HotKeyState::Off}}, "Hot keys: none; not in force: start (switched off)"},
        {{}, "Hot keys: none"},
    };
    for (const Case& c : cases) EXPECT_EQ(DescribeHotKeys(c.statuses), c.text);
}
}  // namespace
