#include "base/ui_language.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "base/text_scan.h"

namespace tallyglass {

namespace {
constexpr uint16_t kPrimaryChinese = 0x04;  // LANG_CHINESE, whichever script or region

std::string Lowered(std::string_view text) {
    std::string lowered(Trim(text));
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lowered;
}
}  // namespace

UiLanguage ChooseUiLanguage(std::string_view setting, uint16_t userUiLanguage) {
    const std::string chosen = Lowered(setting);
    if (chosen == "zh") return UiLanguage::Chinese;
    if (chosen == "en") return UiLanguage::English;
    return (userUiLanguage & 0x3FF) == kPrimaryChinese ? UiLanguage::Chinese : UiLanguage::English;
}

uint16_t ResourceLanguageId(UiLanguage language) {
    return language == UiLanguage::Chinese ? 0x0804 /* zh-CN */ : 0x0409 /* en-US */;
}

const char* DefaultAlertText(UiLanguage language) {
    return language == UiLanguage::Chinese ? "\xE6\x97\xB6\xE9\x97\xB4\xE5\x88\xB0" : "TIME UP";
}

}  // namespace tallyglass
