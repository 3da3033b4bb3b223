#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/handles_win.h"
#include "framework/resource_language_win.h"
#include "res/resource.h"
#include "settings/settings_dlg_win.h"

namespace {
struct ControlRow {
    int id;
    const wchar_t* className;
    const wchar_t* text;  // Chinese
    const wchar_t* english;
    LONG style;
    RECT units;  // left, top, width, height in dialog units
};

constexpr LONG kEdit = 0x50812081, kCheck = 0x50010003, kPush = 0x50010000, kLabel = 0x50020000;

// Template order, which is also the creation and the tab order.
const ControlRow kDialogRows[] = {
    {1012, L"EDIT", L"", L"", kEdit, {66, 7, 24, 14}},
    {1013, L"EDIT", L"", L"", kEdit, {116, 7, 24, 14}},
    {1014, L"EDIT", L"", L"", kEdit, {157, 7, 24, 14}},
    {1017, L"EDIT", L"", L"", kEdit, {66, 26, 24, 14}},
    {1018, L"EDIT", L"", L"", kEdit, {116, 26, 24, 14}},
    {1019, L"EDIT", L"", L"", kEdit, {157, 26, 24, 14}},
    {1015, L"EDIT", L"", L"", kEdit, {66, 45, 24, 14}},
    {1016, L"EDIT", L"", L"", kEdit, {66, 64, 24, 14}},
    {1022, L"BUTTON", L"\u80CC\u666F\u900F\u660E", L"Transparent", kCheck, {66, 83, 48, 10}},
    {1023,
     L"BUTTON",
     L"\u62A5\u8B66\u663E\u793A\u5728\u5C4F\u5E55\u4E2D\u95F4",
     L"Alert in the centre",
     kCheck,
     {66, 98, 88, 10}},
    {1024, L"BUTTON", L"\u62A5\u8B66\u58F0\u97F3\u63D0\u793A", L"Alert sound", kCheck, {66, 113, 64, 10}},
    {1009, L"BUTTON", L"\u786E\u5B9A", L"OK", kPush, {137, 156, 50, 14}},
    {1010, L"BUTTON", L"\u53D6\u6D88", L"Cancel", kPush, {191, 156, 50, 14}},
    {-1, L"STATIC", L"\u5012\u8BA1\u65F6\u521D\u59CB\u503C\uFF1A", L"Countdown:", kLabel, {7, 9, 57, 8}},
    {-1, L"STATIC", L"\u5C0F\u65F6", L"h", kLabel, {95, 9, 17, 8}},
    {-1, L"STATIC", L"\u5206", L"m", kLabel, {143, 9, 9, 8}},
    {-1, L"STATIC", L"\u79D2", L"s", kLabel, {185, 9, 9, 8}},
    {-1, L"STATIC", L"\u6B63\u5E38\u663E\u793A\u5927\u5C0F\uFF1A", L"Normal size:", kLabel, {7, 48, 57, 8}},
    {-1, L"STATIC", L"\u62A5\u8B66\u663E\u793A\u5927\u5C0F\uFF1A", L"Alert size:", kLabel, {7, 67, 57, 8}},
    {-1, L"STATIC", L"\u62A5\u8B66\u6301\u7EED\u65F6\u95F4\uFF1A", L"Alert length:", kLabel, {7, 28, 57, 8}},
    {-1, L"STATIC", L"\u5C0F\u65F6", L"h", kLabel, {95, 28, 17, 8}},
    {-1, L"STATIC", L"\u5206", L"m", kLabel, {143, 28, 9, 8}},
    {-1, L"STATIC", L"\u79D2", L"s", kLabel, {185, 28, 9, 8}},
};

// Reads a DLGTEMPLATEEX as the resource compiler wrote it.
class TemplateReader {
public:
    explicit TemplateReader(const BYTE* data) : m_at(data) {}
    template <typename T>
    T Take() {
        T value;
        std::memcpy(&value, m_at, sizeof value);
        m_at += sizeof value;
        return value;
    }
    // A name or an ordinal; ordinals of the predefined classes come back as their names.
    std::wstring TakeNameOrOrdinal() {
        const WORD first = Take<WORD>();
        if (first == 0xFFFF) {
            const WORD ordinal = Take<WORD>();
            const wchar_t* classes[] = {L"BUTTON", L"EDIT", L"STATIC"};
            return ordinal >= 0x80 && ordinal <= 0x82 ? classes[ordinal - 0x80] : L"#" + std::to_wstring(ordinal);
        }
        std::wstring text;
        for (WORD c = first; c != 0; c = Take<WORD>()) text += static_cast<wchar_t>(c);
        return text;
    }
    void AlignToDword() {
        while (reinterpret_cast<uintptr_t>(m_at) % 4) ++m_at;
    }

private:
    const BYTE* m_at;
};

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
    LANGID id;
    const wchar_t* caption;
    const wchar_t* font;
    const wchar_t* ControlRow::*text;
};
const Language kLanguages[] = {
    {kChinese, L"\u65B0\u5012\u8BA1\u65F6", L"\u5B8B\u4F53", &ControlRow::text},
    {kEnglish, L"New countdown", L"MS Shell Dlg", &ControlRow::english},
};

void ExpectDialogTemplate(const BYTE* data, const Language& language) {
    TemplateReader in(data);
    ASSERT_EQ(in.Take<WORD>(), 1);  // DLGTEMPLATEEX
    ASSERT_EQ(in.Take<WORD>(), 0xFFFF);
    in.Take<DWORD>();                 // help id
    EXPECT_EQ(in.Take<DWORD>(), 0u);  // extended style
    EXPECT_EQ(in.Take<DWORD>(), 0x80C800C0u);
    const WORD count = in.Take<WORD>();
    const short frame[4] = {in.Take<short>(), in.Take<short>(), in.Take<short>(), in.Take<short>()};
    EXPECT_EQ(std::vector<short>(frame, frame + 4), (std::vector<short>{0, 0, 248, 177}));
    EXPECT_EQ(in.TakeNameOrOrdinal(), L"");  // no menu
    EXPECT_EQ(in.TakeNameOrOrdinal(), L"");  // the standard dialog class
    EXPECT_EQ(in.TakeNameOrOrdinal(), language.caption);
    EXPECT_EQ(in.Take<WORD>(), 9);  // points
    in.Take<WORD>();
    in.Take<BYTE>();
    in.Take<BYTE>();
    EXPECT_EQ(in.TakeNameOrOrdinal(), language.font);

    ASSERT_EQ(count, std::size(kDialogRows));
    for (const ControlRow& want : kDialogRows) {
        in.AlignToDword();
        in.Take<DWORD>();  // help id
        EXPECT_EQ(in.Take<DWORD>(), 0u) << want.id;
        EXPECT_EQ(in.Take<DWORD>(), static_cast<DWORD>(want.style)) << want.id;
        const short x = in.Take<short>(), y = in.Take<short>(), cx = in.Take<short>(), cy = in.Take<short>();
        const RECT& u = want.units;
        EXPECT_EQ((std::vector<LONG>{x, y, cx, cy}), (std::vector<LONG>{u.left, u.top, u.right, u.bottom})) << want.id;
        EXPECT_EQ(static_cast<int>(in.Take<DWORD>()), want.id);
        EXPECT_EQ(_wcsicmp(in.TakeNameOrOrdinal().c_str(), want.className), 0) << want.id;
        EXPECT_EQ(in.TakeNameOrOrdinal(), want.*language.text) << want.id;
        in.Take<WORD>();  // no creation data
    }
}

TEST(Resources, NewCountdownDialogHasEveryControlInItsPlaceInBothLanguages) {
    for (const Language& language : kLanguages) {
        SCOPED_TRACE(language.font);
        const BYTE* data = Exactly(language.id, IDD_SETTINGS, 5 /* RT_DIALOG */);
        ASSERT_NE(data, nullptr);
        ExpectDialogTemplate(data, language);
    }
}

const struct {
    LANGID language;
    struct {
        UINT id;
        const wchar_t* text;
    } items[4];
} kMenus[] = {
    {kChinese, {{32771, L"\u65B0\u5012\u8BA1\u65F6"}, {0, L""}, {32773, L"\u5173\u4E8E"}, {32776, L"\u9000\u51FA"}}},
    {kEnglish, {{32771, L"New countdown"}, {0, L""}, {32773, L"About"}, {32776, L"Exit"}}},
};

TEST(Resources, ContextMenuOffersNewCountdownAboutAndExitInBothLanguages) {
    for (const auto& want : kMenus) {
        const auto* menuTemplate = Exactly(want.language, IDR_CONTEXT_MENU, 4 /* RT_MENU */);
        ASSERT_NE(menuTemplate, nullptr) << want.language;
        Menu menu(LoadMenuIndirectW(menuTemplate));
        const HMENU popup = GetSubMenu(menu.get(), 0);
        ASSERT_EQ(GetMenuItemCount(popup), 4);
        for (int i = 0; i < 4; ++i) {
            wchar_t text[64] = {};
            GetMenuStringW(popup, i, text, 64, MF_BYPOSITION);
            EXPECT_EQ(GetMenuItemID(popup, i), want.items[i].id) << i;
            EXPECT_STREQ(text, want.items[i].text) << i;
            EXPECT_EQ((GetMenuState(popup, i, MF_BYPOSITION) & MF_SEPARATOR) != 0, want.items[i].id == 0) << i;
        }
    }
}

TEST(Resources, AboutTextsExistInBothLanguages) {
    for (UINT id : {IDS_ABOUT_KEYS, IDS_ABOUT_SETTINGS_FILE, IDS_ABOUT_NO_FILE, IDS_ABOUT_NOT_SAVED}) {
        const std::wstring chinese = LoadStringIn(kChinese, id), english = LoadStringIn(kEnglish, id);
        EXPECT_FALSE(chinese.empty()) << id;
        EXPECT_FALSE(english.empty()) << id;
        EXPECT_NE(chinese, english) << id;
    }
    EXPECT_EQ(LoadStringIn(kEnglish, IDS_ABOUT_NOT_SAVED), L"Settings will not be saved: ");
    EXPECT_EQ(LoadStringIn(kChinese, IDS_ABOUT_SETTINGS_FILE), L"\u8BBE\u7F6E\u6587\u4EF6\uFF1A");
}

// The dialog as created: Tab visits the thirteen controls with a tab stop in
// template order, and comes round again. Which language it shows, the user's or
// the one chosen, is the end-to-end test's.
TEST(Resources, NewCountdownDialogTabsThroughItsControlsInTemplateOrder) {
    SettingsDlg dialog;
    ASSERT_TRUE(dialog.Create());
    std::vector<int> tabOrder;
    HWND stop = GetNextDlgTabItem(dialog.GetSafeHwnd(), nullptr, FALSE);
    for (int i = 0; i < 14 && stop; ++i, stop = GetNextDlgTabItem(dialog.GetSafeHwnd(), stop, FALSE))
        tabOrder.push_back(GetDlgCtrlID(stop));
    EXPECT_EQ(tabOrder,
              (std::vector<int>{1012, 1013, 1014, 1017, 1018, 1019, 1015, 1016, 1022, 1023, 1024, 1009, 1010, 1012}));
}
}  // namespace
