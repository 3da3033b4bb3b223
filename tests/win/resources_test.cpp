#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/handles_win.h"
#include "framework/resource_language_win.h"
#include "res/resource.h"

using namespace tallyglass;

namespace {
// The dialog's texts that are translated: its check boxes and buttons (ids), Chinese, English.
struct Translated {
    int id;
    const wchar_t* text;
    const wchar_t* english;
};
const Translated kDialogTexts[] = {
    {1022, L"\u80CC\u666F\u900F\u660E", L"Transparent"},
    {1023, L"\u62A5\u8B66\u663E\u793A\u5728\u5C4F\u5E55\u4E2D\u95F4", L"Alert in the centre"},
    {1024, L"\u62A5\u8B66\u58F0\u97F3\u63D0\u793A", L"Alert sound"},
    {1009, L"\u786E\u5B9A", L"OK"},
    {1010, L"\u53D6\u6D88", L"Cancel"},
};
// The fields the dialog's arithmetic reads, by id.
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

struct Language {
    LANGID id, other;
    const wchar_t* caption;  // of the dialog, and the menu's New countdown
    const wchar_t* Translated::*text;
    const wchar_t *about, *exit, *notSaved;
    const wchar_t *copyLink, *openViewer, *settings, *saveReport;
};
const Language kLanguages[] = {
    {kChinese, kEnglish, L"\u65B0\u5012\u8BA1\u65F6", &Translated::text, L"\u5173\u4E8E", L"\u9000\u51FA",
     L"\u8BBE\u7F6E\u4E0D\u4F1A\u88AB\u4FDD\u5B58\uFF1A", L"\u590D\u5236\u8FDC\u7A0B\u94FE\u63A5",
     L"\u6253\u5F00\u89C2\u770B\u9875", L"\u8BBE\u7F6E\u2026", L"\u4FDD\u5B58\u62A5\u544A\u2026"},
    {kEnglish, kChinese, L"New countdown", &Translated::english, L"About", L"Exit", L"Settings will not be saved: ",
     L"Copy remote link", L"Open viewer", L"Settings\u2026", L"Save report\u2026"},
};

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) noexcept { return FALSE; }

// The dialog as Windows makes it from the template: its caption, fields and translated texts.
void ExpectDialog(const BYTE* data, const Language& language) {
    const OwnedWindow dialog(CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(data), nullptr, &QuietDialog, 0));
    ASSERT_TRUE(dialog);
    wchar_t text[64] = {};
    GetWindowTextW(dialog.get(), text, 64);
    EXPECT_STREQ(text, language.caption);
    for (const int id : kDialogFields) EXPECT_NE(GetDlgItem(dialog.get(), id), nullptr) << id;
    for (const Translated& want : kDialogTexts) {
        GetDlgItemTextW(dialog.get(), want.id, text, 64);
        EXPECT_STREQ(text, want.*language.text) << want.id;
    }
}

// The dialog, the context menu (New countdown, Settings, the remote items, a separator, About,
// Exit) and About's texts, each in both languages.
TEST(Resources, EachLanguageHasTheDialogTheMenuAndTheAboutTexts) {
    for (const Language& language : kLanguages) {
        SCOPED_TRACE(language.caption);
        const BYTE* data = Exactly(language.id, IDD_SETTINGS, 5 /* RT_DIALOG */);
        ASSERT_NE(data, nullptr);
        ExpectDialog(data, language);

        const auto* menuTemplate = Exactly(language.id, IDR_CONTEXT_MENU, 4 /* RT_MENU */);
        ASSERT_NE(menuTemplate, nullptr);
        Menu menu(LoadMenuIndirectW(menuTemplate));
        const HMENU popup = GetSubMenu(menu.get(), 0);
        const std::pair<UINT, std::wstring> items[] = {{32771, language.caption},    {32779, language.settings},
                                                       {32777, language.copyLink},   {32778, language.openViewer},
                                                       {32780, language.saveReport}, {0, L""},
                                                       {32773, language.about},      {32776, language.exit}};
        ASSERT_EQ(GetMenuItemCount(popup), 8);
        for (int i = 0; i < 8; ++i) {
            wchar_t text[64] = {};
            GetMenuStringW(popup, i, text, 64, MF_BYPOSITION);
            EXPECT_EQ(GetMenuItemID(popup, i), items[i].first) << i;
            EXPECT_EQ(text, items[i].second) << i;
            EXPECT_EQ((GetMenuState(popup, i, MF_BYPOSITION) & MF_SEPARATOR) != 0, items[i].first == 0) << i;
        }

        for (UINT id : {IDS_ABOUT_KEYS, IDS_ABOUT_SETTINGS_FILE, IDS_ABOUT_NO_FILE}) {
            const std::wstring text = LoadStringIn(language.id, id);
            EXPECT_TRUE(!text.empty() && text != LoadStringIn(language.other, id)) << id;  // there, and translated
        }
        EXPECT_EQ(LoadStringIn(language.id, IDS_ABOUT_NOT_SAVED), language.notSaved);
    }
}
}  // namespace
