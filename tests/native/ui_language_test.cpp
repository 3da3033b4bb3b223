#include <gtest/gtest.h>

#include "base/ui_language.h"

using namespace tallyglass;

namespace {
constexpr uint16_t kChineseChina = 0x0804, kChineseTaiwan = 0x0404, kEnglishUs = 0x0409, kGerman = 0x0407,
                   kJapanese = 0x0411;

// The setting decides, else the user's Windows; the resources and the alert text follow.
TEST(UiLanguage, TheSettingDecidesElseTheUsersWindowsAndTheTextsFollow) {
    const struct {
        const char* setting;
        uint16_t userUiLanguage;
        UiLanguage expected;
    } cases[] = {
        {"auto", kChineseChina, UiLanguage::Chinese}, {"auto", kChineseTaiwan, UiLanguage::Chinese},
        {"auto", kEnglishUs, UiLanguage::English},    {"auto", kGerman, UiLanguage::English},
        {"auto", kJapanese, UiLanguage::English},     {"", kChineseChina, UiLanguage::Chinese},
        {"zh", kEnglishUs, UiLanguage::Chinese},      {" ZH\t", kGerman, UiLanguage::Chinese},
        {"en", kChineseChina, UiLanguage::English},   {"En ", kChineseTaiwan, UiLanguage::English},
        {"fr", kChineseChina, UiLanguage::Chinese},   {"chinese", kEnglishUs, UiLanguage::English},
        {"zh-CN", kEnglishUs, UiLanguage::English},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseUiLanguage(c.setting, c.userUiLanguage), c.expected)
            << '"' << c.setting << "\" on " << std::hex << c.userUiLanguage;
}

}  // namespace
