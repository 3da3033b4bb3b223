#include <gtest/gtest.h>

#include <algorithm>

#include "clock/hot_key_table.h"
#include "clock/settings_binding.h"
#include "store/settings_store.h"

using namespace tallyglass;

namespace {
// Each slot's default text, as the store has it, is a hot key and formats back the same.
TEST(HotKeyTable, TheDefaultsParse) {
    const SettingsStore store;
    const auto& bindings = SettingBindings();
    for (const HotKeySlot& slot : HotKeySlots()) {
        const auto bound = std::find_if(bindings.begin(), bindings.end(),
                                        [&](const SettingBinding& binding) { return binding.text == slot.text; });
        ASSERT_NE(bound, bindings.end()) << slot.label;
        const std::string text = store.GetText(bound->key);
        const ParsedHotKey parsed = ParseHotKeyText(text);
        ASSERT_EQ(parsed.outcome, HotKeyParse::Ok) << slot.label;
        EXPECT_EQ(FormatHotKey(parsed.key), text);
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
