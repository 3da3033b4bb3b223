#include <gtest/gtest.h>

#include "res/resource.h"
#include "settings/settings_dlg_win.h"
#include "tests/win/win_test_support.h"

using namespace tallyglass;

namespace {
std::wstring Text(HWND dialog, int id) {
    wchar_t text[64] = {};
    GetDlgItemTextW(dialog, id, text, 64);
    return text;
}

// The fields' arithmetic and corrections are the native tables'; here the real
// controls are filled and read, Enter reaches OK through the dialog manager, and
// Tab visits the thirteen with a tab stop in template order and comes round again.
TEST(SettingsDialog, ShowsTheValuesTabsInTemplateOrderAndReadsTheControls) {
    SettingsDlg dialog;
    dialog.m_values.m_countdownSeconds = 5400;
    dialog.m_values.m_noBackground = 7;  // any non-zero value shows checked
    ASSERT_TRUE(dialog.Create());
    HWND hwnd = dialog.GetSafeHwnd();
    EXPECT_EQ(Text(hwnd, IDC_COUNTDOWN_HOURS) + Text(hwnd, IDC_COUNTDOWN_MINUTES), L"130");
    EXPECT_EQ(IsDlgButtonChecked(hwnd, IDC_NO_BACKGROUND), BST_CHECKED);
    std::vector<int> tabOrder;
    HWND stop = GetNextDlgTabItem(hwnd, nullptr, FALSE);
    for (int i = 0; i < 14 && stop; ++i, stop = GetNextDlgTabItem(hwnd, stop, FALSE))
        tabOrder.push_back(GetDlgCtrlID(stop));
    EXPECT_EQ(tabOrder,
              (std::vector<int>{1012, 1013, 1014, 1017, 1018, 1019, 1015, 1016, 1022, 1023, 1024, 1009, 1010, 1012}));

    SetDlgItemTextW(hwnd, IDC_COUNTDOWN_HOURS, L"0");
    SetDlgItemTextW(hwnd, IDC_COUNTDOWN_SECONDS, L"12");
    MSG enter{GetDlgItem(hwnd, IDC_COUNTDOWN_MINUTES), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    if (!dialog.PreTranslateMessage(&enter)) DispatchMessageW(&enter);
    EXPECT_EQ(dialog.ModalResult(), IDOK);
    EXPECT_EQ(dialog.m_values.m_countdownSeconds, 30 * 60 + 12);
    EXPECT_EQ(dialog.m_values.m_noBackground, 1);
}
}  // namespace
