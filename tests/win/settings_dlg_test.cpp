#include <gtest/gtest.h>

#include "res/resource.h"
#include "settings/settings_dlg_win.h"
#include "tests/win/win_test_support.h"

namespace {
struct OpenDialog {
    OpenDialog() {
        dialog.m_sizeNormal = 72;
        dialog.m_sizeAlert = 96;
        dialog.m_countdownSeconds = 5400;
        dialog.m_alertSeconds = 3599;
        dialog.m_noBackground = 7;  // any non-zero value shows checked
        dialog.m_alertCenter = 0;
        dialog.m_alertSound = 1;
        EXPECT_TRUE(dialog.Create());
        hwnd = dialog.GetSafeHwnd();
    }
    ~OpenDialog() { dialog.Destroy(); }
    std::wstring Text(int id) const {
        wchar_t text[64] = {};
        GetDlgItemTextW(hwnd, id, text, 64);
        return text;
    }
    void Type(int id, const wchar_t* text) { SetDlgItemTextW(hwnd, id, text); }
    void Key(HWND target, WPARAM key) {
        MSG msg{target, WM_KEYDOWN, key, 0, 0, {}};
        if (!dialog.PreTranslateMessage(&msg)) DispatchMessageW(&msg);
    }
    SettingsDlg dialog;
    HWND hwnd = nullptr;
};

TEST(SettingsDialog, ShowsTheValuesNormalisedWithItsChineseTexts) {
    OpenDialog d;
    EXPECT_EQ(d.Text(IDC_COUNTDOWN_HOURS), L"1");
    EXPECT_EQ(d.Text(IDC_COUNTDOWN_MINUTES), L"30");
    EXPECT_EQ(d.Text(IDC_COUNTDOWN_SECONDS), L"0");
    EXPECT_EQ(d.Text(IDC_ALERT_MINUTES), L"59");
    EXPECT_EQ(d.Text(IDC_SIZE_NORMAL), L"72");
    EXPECT_EQ(IsDlgButtonChecked(d.hwnd, IDC_NO_BACKGROUND), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(d.hwnd, IDC_ALERT_CENTER), BST_UNCHECKED);
    EXPECT_EQ(d.Text(IDC_NO_BACKGROUND), L"\u80CC\u666F\u900F\u660E");
    EXPECT_EQ(d.Text(IDC_OK_BUTTON), L"\u786E\u5B9A");
    wchar_t caption[32] = {};
    GetWindowTextW(d.hwnd, caption, 32);
    EXPECT_STREQ(caption, L"\u65B0\u5012\u8BA1\u65F6");
}

TEST(SettingsDialog, OkReadsAndCorrectsTheFields) {
    OpenDialog d;
    d.Type(IDC_SIZE_NORMAL, L"-5");
    d.Type(IDC_SIZE_ALERT, L"");
    d.Type(IDC_COUNTDOWN_HOURS, L"0");
    d.Type(IDC_COUNTDOWN_MINUTES, L"90");
    d.Type(IDC_COUNTDOWN_SECONDS, L"12abc");
    d.Type(IDC_ALERT_HOURS, L"");
    d.Type(IDC_ALERT_MINUTES, L"-1");
    d.Type(IDC_ALERT_SECONDS, L"30");
    CheckDlgButton(d.hwnd, IDC_ALERT_CENTER, BST_CHECKED);
    SendMessageW(d.hwnd, WM_COMMAND, IDC_OK_BUTTON, 0);
    EXPECT_TRUE(d.dialog.IsModalEnded());
    EXPECT_EQ(d.dialog.ModalResult(), IDOK);
    EXPECT_EQ(d.dialog.m_sizeNormal, 20);
    EXPECT_EQ(d.dialog.m_sizeAlert, 20);
    EXPECT_EQ(d.dialog.m_countdownSeconds, 5412);
    EXPECT_EQ(d.dialog.m_alertSeconds, 10);  // -30 is not a length
    EXPECT_EQ(d.dialog.m_noBackground, 1);
    EXPECT_EQ(d.dialog.m_alertCenter, 1);
}

TEST(SettingsDialog, HugeInputSaturatesInsteadOfFailing) {
    OpenDialog d;
    d.Type(IDC_COUNTDOWN_HOURS, L"1234567890123456789012345678901234567890");
    d.Type(IDC_SIZE_NORMAL, L"99999999999999");
    SendMessageW(d.hwnd, WM_COMMAND, IDC_OK_BUTTON, 0);
    EXPECT_EQ(d.dialog.m_countdownSeconds, INT32_MAX);
    EXPECT_EQ(d.dialog.m_sizeNormal, INT32_MAX);
}

TEST(SettingsDialog, EnterInAFieldKeepsWhatWasTyped) {
    OpenDialog d;
    d.Type(IDC_COUNTDOWN_MINUTES, L"5");
    d.Type(IDC_COUNTDOWN_HOURS, L"0");
    d.Key(GetDlgItem(d.hwnd, IDC_COUNTDOWN_MINUTES), VK_RETURN);
    EXPECT_TRUE(d.dialog.IsModalEnded());
    EXPECT_EQ(d.dialog.ModalResult(), IDOK);
    EXPECT_EQ(d.dialog.m_countdownSeconds, 300);
}

TEST(SettingsDialog, EscapeAndCancelChangeNothing) {
    for (bool escape : {true, false}) {
        OpenDialog d;
        d.Type(IDC_SIZE_NORMAL, L"300");
        if (escape)
            d.Key(GetDlgItem(d.hwnd, IDC_SIZE_NORMAL), VK_ESCAPE);
        else
            SendMessageW(d.hwnd, WM_COMMAND, IDC_CANCEL_BUTTON, 0);
        EXPECT_EQ(d.dialog.ModalResult(), IDCANCEL);
        EXPECT_EQ(d.dialog.m_sizeNormal, 72);
    }
}
}  // namespace
