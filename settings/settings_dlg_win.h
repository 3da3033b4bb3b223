#pragma once
// The "new countdown" dialog: two lengths, two font sizes and three switches,
// corrected without messages (sizes to at least 20, lengths to at least 1 s).
#include <windows.h>

#include <cstdint>

#include "command/countdown_values.h"
#include "framework/dialog_win.h"

namespace tallyglass {

class SettingsDlg : public Dialog {
public:
    SettingsDlg();

    BOOL OnInitDialog() override;
    void OnOkButton();
    void OnCancelButton();

    int GetFieldInt(int id) const;
    void SetFieldInt(int id, int value);
    int GetFieldSeconds(int idHours, int idMinutes, int idSeconds) const;
    void SetFieldSeconds(int seconds, int idHours, int idMinutes, int idSeconds);

    // Shown when the dialog opens; what was confirmed when it returns IDOK.
    CountdownValues m_values;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Enter in a field is the same as the OK button: what was typed is kept.
    void OnOK() override { OnOkButton(); }
    void OnCancel() override { OnCancelButton(); }
};

}  // namespace tallyglass
