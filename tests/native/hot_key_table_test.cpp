#include <gtest/gtest.h>

#include "clock/hot_key_table.h"
#include "store/setting_keys.h"
#include "store/settings_store.h"

using namespace tallyglass;

namespace {
// Each default hot key parses, and About shows it as the file has it.
TEST(HotKeyTable, TheDefaultsParse) {
    SettingsStore store;
    namespace k = setting_keys;
    for (const auto& [key, text] : {std::pair{k::kHotKeyStart, "Ctrl+Alt+F2"},
                                    {k::kHotKeyReset, "Ctrl+Alt+F4"},
                                    {k::kHotKeyPause, "Ctrl+Alt+F3"},
                                    {k::kHotKeyPlus, "Ctrl+Alt+PageUp"},
                                    {k::kHotKeyMinus, "Ctrl+Alt+PageDown"},
                                    {k::kHotKeyClickThrough, "Ctrl+Alt+F6"},
                                    {k::kHotKeyNext, "Ctrl+Alt+Shift+Right"},
                                    {k::kHotKeyPrevious, "Ctrl+Alt+Shift+Left"}}) {
        const ParsedHotKey parsed = ParseHotKeyText(store.GetText(key));
        ASSERT_EQ(parsed.outcome, HotKeyParse::Ok) << key;
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
