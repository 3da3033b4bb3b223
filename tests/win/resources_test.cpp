#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/handles_win.h"
#include "framework/resource_language_win.h"
#include "framework/text_win.h"
#include "res/resource.h"

using namespace tallyglass;

namespace {
// The dialog's controls whose texts are translated (its check boxes and buttons), and the
// fields its arithmetic reads.
constexpr int kTranslatedControls[] = {1022, 1023, 1024, 1009, 1010};
constexpr int kDialogFields[] = {1012, 1013, 1014, 1015, 1016, 1017, 1018, 1019};

constexpr LANGID kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
constexpr LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// Each language's resource, found only under its own language id.
const BYTE* Exactly(LANGID language, UINT id, UINT type) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceExW(module, MAKEINTRESOURCEW(type), MAKEINTRESOURCEW(id), language);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    return loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
}

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) noexcept { return FALSE; }

// The texts a language's dialog and context menu show: the caption, the translated
// controls', then the menu's items (empty for the separator).
std::vector<std::wstring> TextsOf(LANGID language) {
    std::vector<std::wstring> texts;
    const BYTE* data = Exactly(language, IDD_SETTINGS, 5 /* RT_DIALOG */);
    EXPECT_NE(data, nullptr);
    const OwnedWindow dialog(data ? CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                                               reinterpret_cast<const DLGTEMPLATE*>(data), nullptr,
                                                               &QuietDialog, 0)
                                  : nullptr);
    EXPECT_TRUE(dialog);
    if (!dialog) return texts;
    wchar_t text[64] = {};
    GetWindowTextW(dialog.get(), text, 64);
    texts.push_back(text);
    for (const int id : kDialogFields) EXPECT_NE(GetDlgItem(dialog.get(), id), nullptr) << id;
    for (const int id : kTranslatedControls) {
        GetDlgItemTextW(dialog.get(), id, text, 64);
        texts.push_back(text);
    }
    const auto* menuTemplate = Exactly(language, IDR_CONTEXT_MENU, 4 /* RT_MENU */);
    EXPECT_NE(menuTemplate, nullptr);
    if (!menuTemplate) return texts;
    Menu menu(LoadMenuIndirectW(menuTemplate));
    const HMENU popup = GetSubMenu(menu.get(), 0);
    // New countdown, Settings, the remote items, a separator, About, Exit.
    const UINT ids[] = {32771, 32779, 32777, 32778, 32780, 0, 32773, 32776};
    EXPECT_EQ(GetMenuItemCount(popup), 8);
    for (int i = 0; i < 8; ++i) {
        GetMenuStringW(popup, i, text, 64, MF_BYPOSITION);
        texts.push_back(text);
        EXPECT_EQ(GetMenuItemID(popup, i), ids[i]) << i;
        EXPECT_EQ((GetMenuState(popup, i, MF_BYPOSITION) & MF_SEPARATOR) != 0, ids[i] == 0) << i;
    }
    return texts;
}

// The dialog, the context menu and About's texts in both languages: each there, and each
// translated (the dialog's caption is the menu's New countdown). One text of each is typed
// here, to catch a resource script read in the wrong code page.
TEST(Resources, EachLanguageHasTheDialogTheMenuAndTheAboutTexts) {
    const std::vector<std::wstring> chinese = TextsOf(kChinese), english = TextsOf(kEnglish);
    ASSERT_EQ(chinese.size(), 14u);
    ASSERT_EQ(english.size(), 14u);
    EXPECT_EQ(chinese[0], L"\u65B0\u5012\u8BA1\u65F6");
    EXPECT_EQ(english[0], L"New countdown");
    for (size_t i = 0; i < chinese.size(); ++i) {
        const bool filled = !chinese[i].empty() && !english[i].empty() && chinese[i] != english[i];
        EXPECT_TRUE(i == 11 ? chinese[i].empty() && english[i].empty() : filled) << i << " " << Narrow(english[i]);
    }
    EXPECT_EQ(chinese[6], chinese[0]);
    EXPECT_EQ(english[6], english[0]);
    for (UINT id : {IDS_ABOUT_KEYS, IDS_ABOUT_SETTINGS_FILE, IDS_ABOUT_NO_FILE, IDS_ABOUT_NOT_SAVED}) {
        const std::wstring text = LoadStringIn(kChinese, id), other = LoadStringIn(kEnglish, id);
        EXPECT_TRUE(!text.empty() && !other.empty() && text != other) << id;  // there, and translated
    }
}
}  // namespace
