#include "settings/settings_dlg_win.h"

#include <string>

#include "clock/field_values.h"
#include "framework/text_win.h"
#include "res/resource.h"

namespace tallyglass {

SettingsDlg::SettingsDlg() : Dialog(IDD_SETTINGS) {}

LRESULT SettingsDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        switch (LOWORD(wParam)) {
            case IDC_OK_BUTTON:
                OnOkButton();
                return 0;
            case IDC_CANCEL_BUTTON:
                OnCancelButton();
                return 0;
        }
    }
    return Dialog::WindowProc(message, wParam, lParam);
}

BOOL SettingsDlg::OnInitDialog() {
    Dialog::OnInitDialog();
    SetFieldSeconds(m_values.m_countdownSeconds, IDC_COUNTDOWN_HOURS, IDC_COUNTDOWN_MINUTES, IDC_COUNTDOWN_SECONDS);
    SetFieldSeconds(m_values.m_alertSeconds, IDC_ALERT_HOURS, IDC_ALERT_MINUTES, IDC_ALERT_SECONDS);
    SetFieldInt(IDC_SIZE_NORMAL, m_values.m_sizeNormal);
    SetFieldInt(IDC_SIZE_ALERT, m_values.m_sizeAlert);
    CheckDlgButton(m_hwnd, IDC_NO_BACKGROUND, m_values.m_noBackground ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(m_hwnd, IDC_ALERT_CENTER, m_values.m_alertCenter ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(m_hwnd, IDC_ALERT_SOUND, m_values.m_alertSound ? BST_CHECKED : BST_UNCHECKED);
    Dialog::CenterWindow(GetWindow(m_hwnd, GW_OWNER));
    return TRUE;  // focus on the first field
}

void SettingsDlg::OnOkButton() {
    m_values.m_sizeNormal = CorrectFontSize(GetFieldInt(IDC_SIZE_NORMAL));
    m_values.m_sizeAlert = CorrectFontSize(GetFieldInt(IDC_SIZE_ALERT));
    m_values.m_countdownSeconds = GetFieldSeconds(IDC_COUNTDOWN_HOURS, IDC_COUNTDOWN_MINUTES, IDC_COUNTDOWN_SECONDS);
    m_values.m_alertSeconds = GetFieldSeconds(IDC_ALERT_HOURS, IDC_ALERT_MINUTES, IDC_ALERT_SECONDS);
    m_values.m_noBackground = IsDlgButtonChecked(m_hwnd, IDC_NO_BACKGROUND) == BST_CHECKED;
    m_values.m_alertCenter = IsDlgButtonChecked(m_hwnd, IDC_ALERT_CENTER) == BST_CHECKED;
    m_values.m_alertSound = IsDlgButtonChecked(m_hwnd, IDC_ALERT_SOUND) == BST_CHECKED;
    EndDialog(IDOK);
}

void SettingsDlg::OnCancelButton() { EndDialog(IDCANCEL); }

int SettingsDlg::GetFieldInt(int id) const {
    HWND field = GetDlgItem(m_hwnd, id);
    const int length = field ? GetWindowTextLengthW(field) : 0;
    if (length <= 0) return 0;
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(field, text.data(), length + 1)));
    return ParseFieldInt(Narrow(text));
}

void SettingsDlg::SetFieldInt(int id, int value) { SetDlgItemTextW(m_hwnd, id, Widen(FormatFieldInt(value)).c_str()); }

int SettingsDlg::GetFieldSeconds(int idHours, int idMinutes, int idSeconds) const {
    const int hours = GetFieldInt(idHours);
    const int minutes = GetFieldInt(idMinutes);
    const int seconds = GetFieldInt(idSeconds);
    return TotalSeconds(hours, minutes, seconds);
}

void SettingsDlg::SetFieldSeconds(int seconds, int idHours, int idMinutes, int idSeconds) {
    const TimeParts parts = SplitSeconds(seconds);
    SetFieldInt(idHours, parts.hours);
    SetFieldInt(idMinutes, parts.minutes);
    SetFieldInt(idSeconds, parts.seconds);
}

}  // namespace tallyglass
