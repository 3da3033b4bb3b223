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

}  // namespace
