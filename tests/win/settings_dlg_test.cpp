#include <gtest/gtest.h>

#include "res/resource.h"
#include "settings/settings_dlg_win.h"
#include "tests/win/win_test_support.h"

namespace {
std::wstring Text(HWND dialog, int id) {
    wchar_t text[64] = {};
    GetDlgItemTextW(dialog, id, text, 64);
    return text;
}

// The fields' arithmetic and corrections are the native tables'; here the real
// controls are filled and read, and Enter reaches OK through the dialog manager.
TEST(SettingsDialog, ShowsTheValuesAndEnterReadsWhatWasTyped) {
    SettingsDlg dialog;
    dialog.m_values.m_countdownSeconds = 5400;
    dialog.m_values.m_noBackground = 7;  // any non-zero value shows checked
    ASSERT_TRUE(dialog.Create());
    HWND hwnd = dialog.GetSafeHwnd();
    EXPECT_EQ(Text(hwnd, IDC_COUNTDOWN_HOURS) + Text(hwnd, IDC_COUNTDOWN_MINUTES), L"130");
    EXPECT_EQ(IsDlgButtonChecked(hwnd, IDC_NO_BACKGROUND), BST_CHECKED);

    SetDlgItemTextW(hwnd, IDC_SIZE_NORMAL, L"-5");
    SetDlgItemTextW(hwnd, IDC_COUNTDOWN_HOURS, L"0");
    SetDlgItemTextW(hwnd, IDC_COUNTDOWN_SECONDS, L"12abc");
    MSG enter{GetDlgItem(hwnd, IDC_COUNTDOWN_MINUTES), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    if (!dialog.PreTranslateMessage(&enter)) DispatchMessageW(&enter);
    EXPECT_EQ(dialog.ModalResult(), IDOK);
    EXPECT_EQ(dialog.m_values.m_sizeNormal, 20);
    EXPECT_EQ(dialog.m_values.m_countdownSeconds, 30 * 60 + 12);
    EXPECT_EQ(dialog.m_values.m_noBackground, 1);
}

}  // namespace
