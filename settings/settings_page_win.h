#pragma once
// One page of the settings window: a row per field of the settings table (a label
// and its control), the page's own parts (the run of show's list, the remote links
// and their codes), and a line that names a value that cannot be taken.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "settings/settings_sheet_win.h"

namespace tallyglass {

class SettingsPageWnd;

struct SettingsSheet::Shared {
    SettingsSheetInput input;
    ApplySettingsFn apply;
    SettingsValues values, applied;  // now, and as last handed to the clock
    std::vector<ShowSegment> show, appliedShow;
    HWND sheet = nullptr;
    bool roundDone = false;  // this Apply's change handed over (every page hears PSN_APPLY)
    bool centred = false;
    FoundProblem waiting;  // a problem on a page not made yet, shown when it is
    std::vector<std::unique_ptr<SettingsPageWnd>> pages;
    const char* Word(SettingsWord word) const { return WordOf(word, input.language); }
    // True when handed over, or nothing changed; false with the problem shown on its page.
    bool ApplyNow();
};

class SettingsPageWnd {
public:
    SettingsPageWnd(SettingsSheet::Shared& shared, SettingsPage page);
    PROPSHEETPAGEW Description();
    SettingsPage Page() const { return m_page; }
    HWND Window() const { return m_hwnd; }
    void ShowProblem(const FoundProblem& found);
    void ShowProblemText(const std::string& text);

private:
    struct Row {
        const SettingsField* field;
        HWND control = nullptr;
        HWND status = nullptr;                  // hot keys: "taken"
        std::vector<std::string> choices = {};  // drop-down lists: the value of each item
        std::string shown = {};                 // the value put into the control, to tell a change
    };
    static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CentreSheet();
    void Build();
    void BuildRow(Row& row, int x, int y, int width);
    void BuildShowEditor(int y);
    void BuildRemoteLinks(int y);
    HWND Make(const wchar_t* type, const std::string& text, DWORD style, int x, int y, int w, int h, int id,
              DWORD exStyle = 0);
    void Load();
    void Save();
    bool CheckPage();
    void OnCommand(int id, int code);
    void OnHotKeyChanged(Row& row);
    void ChooseColour(Row& row);
    std::string ValueOf(const Row& row) const;
    void SetValue(Row& row, const std::string& value);
    Row* RowOf(const char* key);
    // The run of show's list.
    void FillShowList();
    void OnShowButton(int id);
    void OnShowSelection();
    void ImportShow();
    void StartNewDay();
    // The remote links, their codes and New key.
    std::string LinkFor(const char* key) const;
    void UpdateLinks();
    void OnDrawCode(const DRAWITEMSTRUCT& item);

    SettingsSheet::Shared& m_shared;
    SettingsPage m_page;
    std::vector<WORD> m_template;
    std::wstring m_title;
    HWND m_hwnd = nullptr;
    HFONT m_font = nullptr;
    std::vector<Row> m_rows;
    HWND m_problem = nullptr;
    HWND m_showList = nullptr, m_segmentName = nullptr, m_segmentLength = nullptr, m_segmentStart = nullptr;
    HWND m_controlLink = nullptr, m_viewLink = nullptr, m_remoteState = nullptr;
    bool m_loading = false;
};

}  // namespace tallyglass
