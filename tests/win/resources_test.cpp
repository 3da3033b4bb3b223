#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/handles_win.h"
#include "framework/resource_language_win.h"
#include "res/resource.h"

using namespace tallyglass;

namespace {
struct ControlRow {
    int id;
    const wchar_t* text;  // Chinese
    const wchar_t* english;
    LONG style;
    RECT units;  // left, top, width, height in dialog units; the class follows from the style
};

constexpr LONG kEdit = 0x50812081, kCheck = 0x50010003, kPush = 0x50010000, kLabel = 0x50020000;

// Template order, which is also the creation and the tab order.
const ControlRow kDialogRows[] = {
    {1012, L"", L"", kEdit, {66, 7, 24, 14}},
    {1013, L"", L"", kEdit, {116, 7, 24, 14}},
    {1014, L"", L"", kEdit, {157, 7, 24, 14}},
    {1017, L"", L"", kEdit, {66, 26, 24, 14}},
    {1018, L"", L"", kEdit, {116, 26, 24, 14}},
    {1019, L"", L"", kEdit, {157, 26, 24, 14}},
    {1015, L"", L"", kEdit, {66, 45, 24, 14}},
    {1016, L"", L"", kEdit, {66, 64, 24, 14}},
    {1022, L"\u80CC\u666F\u900F\u660E", L"Transparent", kCheck, {66, 83, 48, 10}},
    {1023, L"\u62A5\u8B66\u663E\u793A\u5728\u5C4F\u5E55\u4E2D\u95F4", L"Alert in the centre", kCheck, {66, 98, 88, 10}},
    {1024, L"\u62A5\u8B66\u58F0\u97F3\u63D0\u793A", L"Alert sound", kCheck, {66, 113, 64, 10}},
    {1009, L"\u786E\u5B9A", L"OK", kPush, {137, 156, 50, 14}},
    {1010, L"\u53D6\u6D88", L"Cancel", kPush, {191, 156, 50, 14}},
    {-1, L"\u5012\u8BA1\u65F6\u521D\u59CB\u503C\uFF1A", L"Countdown:", kLabel, {7, 9, 57, 8}},
    {-1, L"\u5C0F\u65F6", L"h", kLabel, {95, 9, 17, 8}},
    {-1, L"\u5206", L"m", kLabel, {143, 9, 9, 8}},
    {-1, L"\u79D2", L"s", kLabel, {185, 9, 9, 8}},
    {-1, L"\u6B63\u5E38\u663E\u793A\u5927\u5C0F\uFF1A", L"Normal size:", kLabel, {7, 48, 57, 8}},
    {-1, L"\u62A5\u8B66\u663E\u793A\u5927\u5C0F\uFF1A", L"Alert size:", kLabel, {7, 67, 57, 8}},
    {-1, L"\u62A5\u8B66\u6301\u7EED\u65F6\u95F4\uFF1A", L"Alert length:", kLabel, {7, 28, 57, 8}},
    {-1, L"\u5C0F\u65F6", L"h", kLabel, {95, 28, 17, 8}},
    {-1, L"\u5206", L"m", kLabel, {143, 28, 9, 8}},
    {-1, L"\u79D2", L"s", kLabel, {185, 28, 9, 8}},
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
            const wchar_t* classes[] = {L"STATIC"};
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
    LANGID id, other;
    const wchar_t* caption;  // of the dialog, and the menu's New countdown
    const wchar_t* font;
    const wchar_t* ControlRow::*text;
    const wchar_t *about, *exit, *notSaved;
    const wchar_t *copyLink, *openViewer;
};
const Language kLanguages[] = {
    {kChinese, kEnglish, L"\u65B0\u5012\u8BA1\u65F6", L"\u5B8B\u4F53", &ControlRow::text, L"\u5173\u4E8E",
     L"\u9000\u51FA", L"\u8BBE\u7F6E\u4E0D\u4F1A\u88AB\u4FDD\u5B58\uFF1A", L"\u590D\u5236\u8FDC\u7A0B\u94FE\u63A5",
     L"\u6253\u5F00\u89C2\u770B\u9875"},
    {kEnglish, kChinese, L"New countdown", L"MS Shell Dlg", &ControlRow::english, L"About", L"Exit",
     L"Settings will not be saved: ", L"Copy remote link", L"Open viewer"},
};

void ExpectDialogTemplate(const BYTE* data, const Language& language) {
    TemplateReader in(data);
    ASSERT_EQ(in.Take<DWORD>(), 0xFFFF0001u);  // DLGTEMPLATEEX
    in.Take<DWORD>();                          // help id
    EXPECT_EQ(in.Take<DWORD>(), 0u);           // extended style
    EXPECT_EQ(in.Take<DWORD>(), 0x80C800C0u);
    const WORD count = in.Take<WORD>();
    EXPECT_EQ(in.Take<DWORD>(), 0u);  // at 0, 0
    EXPECT_EQ(in.Take<DWORD>(), static_cast<DWORD>(MAKELONG(248, 177)));
    EXPECT_EQ(in.TakeNameOrOrdinal(), L"");  // no menu
    EXPECT_EQ(in.TakeNameOrOrdinal(), L"");  // the standard dialog class
    EXPECT_EQ(in.TakeNameOrOrdinal(), language.caption);
    EXPECT_EQ(in.Take<WORD>(), 9);  // points
    in.Take<DWORD>();               // weight, italic, character set
    EXPECT_EQ(in.TakeNameOrOrdinal(), language.font);

    ASSERT_EQ(count, std::size(kDialogRows));
    for (const ControlRow& want : kDialogRows) {
        in.AlignToDword();
        in.Take<DWORD>();  // help id
        EXPECT_EQ(in.Take<DWORD>(), 0u) << want.id;
        EXPECT_EQ(in.Take<DWORD>(), static_cast<DWORD>(want.style)) << want.id;
        const std::vector<LONG> units{in.Take<short>(), in.Take<short>(), in.Take<short>(), in.Take<short>()};
        const RECT& u = want.units;
        EXPECT_EQ(units, (std::vector<LONG>{u.left, u.top, u.right, u.bottom})) << want.id;
        EXPECT_EQ(static_cast<int>(in.Take<DWORD>()), want.id);
        const wchar_t* className = want.style == kEdit ? L"EDIT" : want.style == kLabel ? L"STATIC" : L"BUTTON";
        EXPECT_EQ(_wcsicmp(in.TakeNameOrOrdinal().c_str(), className), 0) << want.id;
        EXPECT_EQ(in.TakeNameOrOrdinal(), want.*language.text) << want.id;
        in.Take<WORD>();  // no creation data
    }
}

// The dialog with every control in its place, the context menu (New countdown,
// a separator, About, Exit) and About's texts, each in both languages.
TEST(Resources, EachLanguageHasTheDialogTheMenuAndTheAboutTexts) {
    for (const Language& language : kLanguages) {
        SCOPED_TRACE(language.font);
        const BYTE* data = Exactly(language.id, IDD_SETTINGS, 5 /* RT_DIALOG */);
        ASSERT_NE(data, nullptr);
        ExpectDialogTemplate(data, language);

        const auto* menuTemplate = Exactly(language.id, IDR_CONTEXT_MENU, 4 /* RT_MENU */);
        ASSERT_NE(menuTemplate, nullptr);
        Menu menu(LoadMenuIndirectW(menuTemplate));
        const HMENU popup = GetSubMenu(menu.get(), 0);
        const std::pair<UINT, std::wstring> items[] = {{32771, language.caption},    {32777, language.copyLink},
                                                       {32778, language.openViewer}, {0, L""},
                                                       {32773, language.about},      {32776, language.exit}};
        ASSERT_EQ(GetMenuItemCount(popup), 6);
        for (int i = 0; i < 6; ++i) {
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
