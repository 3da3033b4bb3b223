// The settings window's real pages: the values go into the controls and come back
// out as the changes handed to the clock, only what was changed; a value that cannot
// be taken is named and keeps the sheet from applying; a hot key another program
// holds is marked taken; the run of show is edited in its list.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "settings/settings_ids_win.h"
#include "settings/settings_sheet_win.h"
#include "tests/win/win_test_support.h"

using namespace tallyglass;
using namespace tallyglass::settings_ids;

namespace {
int FieldId(const char* key) {
    int row = 0;
    const SettingsPage page = FindSettingsField(key)->page;
    for (const SettingsField& field : SettingsFields()) {
        if (field.key == std::string(key)) return kFieldBase + row;
        if (field.page == page) ++row;
    }
    return -1;
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::wstring TextOf(HWND control) {
    wchar_t text[256] = {};
    GetWindowTextW(control, text, 256);
    return text;
}

struct SheetTest : ::testing::Test {
    SettingsSheetInput input;
    std::vector<SettingsChange> applied;
    std::function<bool()> sheetNewLog = [] { return false; };
    void SetUp() override {
        for (const SettingsField& field : SettingsFields()) input.values[field.key] = "";
        input.values["fsizenormal"] = "72";
        input.values["remote"] = "off";
        input.values["remoteport"] = "7360";
        input.values["hotkeystart"] = "Ctrl+Alt+F2";
        input.values["hotkeyreset"] = "Ctrl+Win+F4";  // a key the control cannot show
        input.values["nobg"] = "yes";                 // a flag as a person may write it
        input.show = {{"Welcome", 300}, {"Keynote", 1200}};
        input.addresses = {"127.0.0.1"};
        input.hotKeyFree = [](const std::string& key) { return key != "Ctrl+Shift+F9"; };
        input.makeKey = [] { return std::string("NewKey123456"); };
        input.newLog = [this] { return sheetNewLog(); };
    }
};

TEST_F(SheetTest, OnlyTheValuesChangedReachTheClockAndABadOneIsNamedFirst) {
    SettingsSheet sheet(input, [this](const SettingsChange& change) { applied.push_back(change); });
    HWND hwnd = sheet.Create(nullptr);
    ASSERT_NE(hwnd, nullptr);
    Pump();
    HWND clock = PropSheet_GetCurrentPageHwnd(hwnd);
    ASSERT_NE(clock, nullptr);
    EXPECT_EQ(TextOf(GetDlgItem(clock, FieldId("fsizenormal"))), L"72");
    // Nothing touched: Apply hands over nothing, whatever the controls make of the file's texts.
    PropSheet_Apply(hwnd);
    Pump();
    EXPECT_TRUE(applied.empty());

    SetWindowTextW(GetDlgItem(clock, FieldId("fsizenormal")), L"96");
    SetWindowTextW(GetDlgItem(clock, FieldId("title")), L"Hall B");
    PropSheet_Apply(hwnd);
    Pump();
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_EQ(applied[0].settings, (WrittenKeys{{"fsizenormal", "96"}, {"title", "Hall B"}}));
    EXPECT_FALSE(applied[0].show);

    // The Remote page: a port out of range is named there and nothing is applied.
    PropSheet_SetCurSel(hwnd, nullptr, static_cast<int>(SettingsPage::Remote));
    Pump();
    HWND remote = PropSheet_GetCurrentPageHwnd(hwnd);
    SendMessageW(GetDlgItem(remote, FieldId("remote")), CB_SETCURSEL, 1, 0);  // this PC only
    SendMessageW(remote, WM_COMMAND, MAKEWPARAM(FieldId("remote"), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(remote, FieldId("remote"))));
    EXPECT_EQ(TextOf(GetDlgItem(remote, FieldId("remotekey"))), L"NewKey123456");  // made as a first start would
    SetWindowTextW(GetDlgItem(remote, FieldId("remoteport")), L"70000");
    PropSheet_Apply(hwnd);
    Pump();
    EXPECT_EQ(applied.size(), 1u);
    EXPECT_EQ(TextOf(GetDlgItem(remote, kProblemLine)), L"A port is a number from 1 to 65535.");
    SetWindowTextW(GetDlgItem(remote, FieldId("remoteport")), L"7361");
    SetWindowTextW(GetDlgItem(remote, FieldId("remoteviewkey")), L"ViewKey98765");
    EXPECT_EQ(TextOf(GetDlgItem(remote, kControlLink)), L"http://127.0.0.1:7361/?key=NewKey123456");
    PropSheet_Apply(hwnd);
    Pump();
    ASSERT_EQ(applied.size(), 2u);
    EXPECT_EQ(applied[1].settings, (WrittenKeys{{"remote", "local"},
                                                {"remoteport", "7361"},
                                                {"remotekey", "NewKey123456"},
                                                {"remoteviewkey", "ViewKey98765"}}));
    DestroyWindow(hwnd);
}

TEST_F(SheetTest, AHotKeyAnotherProgramHoldsIsMarkedAndTheShowIsEditedInItsList) {
    SettingsSheet sheet(input, [this](const SettingsChange& change) { applied.push_back(change); });
    HWND hwnd = sheet.Create(nullptr);
    ASSERT_NE(hwnd, nullptr);
    PropSheet_SetCurSel(hwnd, nullptr, static_cast<int>(SettingsPage::Keys));
    Pump();
    HWND keys = PropSheet_GetCurrentPageHwnd(hwnd);
    HWND start = GetDlgItem(keys, FieldId("hotkeystart"));
    SendMessageW(start, HKM_SETHOTKEY, MAKEWORD(VK_F9, HOTKEYF_CONTROL | HOTKEYF_SHIFT), 0);
    SendMessageW(keys, WM_COMMAND, MAKEWPARAM(FieldId("hotkeystart"), EN_CHANGE), reinterpret_cast<LPARAM>(start));
    HWND status = GetNextWindow(GetNextWindow(start, GW_HWNDNEXT), GW_HWNDNEXT);  // after its Clear
    EXPECT_EQ(TextOf(status), L"taken by another program");

    PropSheet_SetCurSel(hwnd, nullptr, static_cast<int>(SettingsPage::Show));
    Pump();
    HWND show = PropSheet_GetCurrentPageHwnd(hwnd);
    HWND list = GetDlgItem(show, kShowList);
    EXPECT_EQ(ListView_GetItemCount(list), 2);
    ListView_SetItemState(list, 1, LVIS_SELECTED, LVIS_SELECTED);
    SetWindowTextW(GetDlgItem(show, kSegmentName), L"Q&A = live");
    SetWindowTextW(GetDlgItem(show, kSegmentLength), L"10m");
    SendMessageW(show, WM_COMMAND, MAKEWPARAM(kShowAdd, BN_CLICKED), 0);
    EXPECT_EQ(ListView_GetItemCount(list), 2);  // a name with "=" is refused, and said why
    EXPECT_NE(TextOf(GetDlgItem(show, kProblemLine)), L"");
    SetWindowTextW(GetDlgItem(show, kSegmentName), L"Q&A");
    SendMessageW(show, WM_COMMAND, MAKEWPARAM(kShowAdd, BN_CLICKED), 0);
    SendMessageW(show, WM_COMMAND, MAKEWPARAM(kShowUp, BN_CLICKED), 0);
    // New day acts on the log at once and says how it went; the show is not touched.
    bool logMoves = false;
    int newLogs = 0;
    sheetNewLog = [&] { return ++newLogs, logMoves; };
    SendMessageW(show, WM_COMMAND, MAKEWPARAM(kShowNewDay, BN_CLICKED), 0);
    EXPECT_NE(TextOf(GetDlgItem(show, kProblemLine)).find(L"could not"), std::wstring::npos);
    logMoves = true;
    SendMessageW(show, WM_COMMAND, MAKEWPARAM(kShowNewDay, BN_CLICKED), 0);
    EXPECT_NE(TextOf(GetDlgItem(show, kProblemLine)).find(L"new run log begins"), std::wstring::npos);
    EXPECT_EQ(newLogs, 2);
    PropSheet_Apply(hwnd);
    Pump();
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_EQ(applied[0].settings, (WrittenKeys{{"hotkeystart", "Ctrl+Shift+F9"}}));
    ASSERT_TRUE(applied[0].show);
    EXPECT_EQ(*applied[0].show, (std::vector<ShowSegment>{{"Welcome", 300}, {"Q&A", 600}, {"Keynote", 1200}}));
    DestroyWindow(hwnd);
}
}  // namespace
