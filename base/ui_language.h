#pragma once
// Which of the two interface languages a run uses: the settings file's choice,
// or the one that suits the user's Windows.
#include <cstdint>
#include <string_view>

namespace tallyglass {

enum class UiLanguage { Chinese, English };

// "zh" or "en" (any case, blanks around ignored) decide; anything else, "auto"
// among it, follows userUiLanguage (a Windows LANGID): Chinese for every
// Chinese variant, English for all other languages.
UiLanguage ChooseUiLanguage(std::string_view setting, uint16_t userUiLanguage);

// The LANGID under which the resource script keeps the language's texts.
uint16_t ResourceLanguageId(UiLanguage language);

// UTF-8; what a first start writes as `alertstr`.
const char* DefaultAlertText(UiLanguage language);

}  // namespace tallyglass
