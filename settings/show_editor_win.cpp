// The Run of show page's list: the segments as they will be written, edited by
// name and length, moved up and down; a name or length that cannot be taken is
// named on the page and nothing changes.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "base/duration_text.h"
#include "base/text_scan.h"
#include "framework/text_win.h"
#include "settings/settings_ids_win.h"
#include "settings/settings_page_win.h"

namespace tallyglass {

using namespace settings_ids;

namespace {

// The system's open dialog for a spreadsheet's export; empty when none was chosen.
std::wstring AskForShowFile(HWND owner, const std::string& kind) {
    // The filter is pairs of a label and its patterns, each ended by a NUL, and one more NUL.
    const std::wstring filter =
        Widen(kind) + std::wstring(L"\0*.csv;*.tsv;*.txt\0", 20) + std::wstring(L"*.*\0*.*\0", 8);
    std::wstring path(MAX_PATH * 4, L'\0');
    OPENFILENAMEW open{};
    open.lStructSize = sizeof open;
    open.hwndOwner = owner;
    open.lpstrFilter = filter.c_str();
    open.lpstrFile = path.data();
    open.nMaxFile = static_cast<DWORD>(path.size());
    open.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&open)) return {};
    return path.substr(0, path.find(L'\0'));
}
}  // namespace

void SettingsPageWnd::BuildShowEditor(int y) {
    m_showList = Make(WC_LISTVIEWW, "", WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, kMargin, y,
                      kPageWidth - 2 * kMargin, 118, kShowList, WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(m_showList, LVS_EX_FULLROWSELECT);
    const SettingsWord titles[] = {SettingsWord::SegmentName, SettingsWord::SegmentLength, SettingsWord::SegmentStart};
    const int columnWidths[] = {190, 60, 60};
    for (int i = 0; i < 3; ++i) {
        RECT width{columnWidths[i], 0, 0, 0};
        MapDialogRect(m_hwnd, &width);
        std::wstring title = Widen(m_shared.Word(titles[i]));
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = title.data();
        column.cx = width.left;
        ListView_InsertColumn(m_showList, i, &column);
    }
    // Name, length and planned start, as a segment's line in the file has them.
    const int row = y + 122;
    const struct {
        int labelX, labelWidth, editWidth, id;
        HWND* edit;
    } fields[] = {{kMargin, 28, 130, kSegmentName, &m_segmentName},
                  {kMargin + 164, 32, 40, kSegmentLength, &m_segmentLength},
                  {kMargin + 240, 28, 48, kSegmentStart, &m_segmentStart}};
    for (int i = 0; i < 3; ++i) {
        Make(L"STATIC", m_shared.Word(titles[i]), SS_LEFT | SS_CENTERIMAGE, fields[i].labelX, row,
             fields[i].labelWidth - 2, kControlHeight, -1);
        *fields[i].edit = Make(L"EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, fields[i].labelX + fields[i].labelWidth, row,
                               fields[i].editWidth, kControlHeight, fields[i].id, WS_EX_CLIENTEDGE);
    }
    const SettingsWord buttons[] = {SettingsWord::Add, SettingsWord::Update, SettingsWord::Remove,
                                    SettingsWord::Up,  SettingsWord::Down,   SettingsWord::Import};
    const int ids[] = {kShowAdd, kShowUpdate, kShowRemove, kShowUp, kShowDown, kShowImport};
    for (int i = 0; i < 6; ++i)
        Make(L"BUTTON", m_shared.Word(buttons[i]), WS_TABSTOP, kMargin + i * 45, row + 18, 42, 14, ids[i]);
    // Apart from the list's buttons: it acts on the log at once, not on the show.
    Make(L"BUTTON", m_shared.Word(SettingsWord::NewDay), WS_TABSTOP, kPageWidth - kMargin - 46, row + 18, 46, 14,
         kShowNewDay);
}

void SettingsPageWnd::FillShowList() {
    const int selected = ListView_GetNextItem(m_showList, -1, LVNI_SELECTED);
    ListView_DeleteAllItems(m_showList);
    for (size_t i = 0; i < m_shared.show.size(); ++i) {
        const ShowSegment& segment = m_shared.show[i];
        std::wstring name = Widen(segment.name), length = Widen(FormatDuration(segment.seconds)),
                     start = segment.plannedStart ? Widen(FormatTimeOfDay(*segment.plannedStart)) : L"";
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = name.data();
        ListView_InsertItem(m_showList, &item);
        ListView_SetItemText(m_showList, static_cast<int>(i), 1, length.data());
        ListView_SetItemText(m_showList, static_cast<int>(i), 2, start.data());
    }
    if (selected >= 0 && selected < static_cast<int>(m_shared.show.size()))
        ListView_SetItemState(m_showList, selected, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void SettingsPageWnd::OnShowSelection() {
    const int selected = ListView_GetNextItem(m_showList, -1, LVNI_SELECTED);
    if (selected < 0 || selected >= static_cast<int>(m_shared.show.size())) return;
    const ShowSegment& segment = m_shared.show[static_cast<size_t>(selected)];
    SetWindowTextW(m_segmentName, Widen(segment.name).c_str());
    SetWindowTextW(m_segmentLength, Widen(FormatDuration(segment.seconds)).c_str());
    SetWindowTextW(m_segmentStart, segment.plannedStart ? Widen(FormatTimeOfDay(*segment.plannedStart)).c_str() : L"");
}

// The list becomes the file's rows, taken at Apply or OK like any edit; the rows not taken
// are named on the problem line, and a file that gives none changes nothing.
void SettingsPageWnd::ImportShow() {
    const std::wstring path = AskForShowFile(m_hwnd, m_shared.Word(SettingsWord::ImportFiles));
    if (path.empty() || !m_shared.input.readShow) return;
    const ShowTable table = m_shared.input.readShow(path);
    std::string problems = DescribeShowTableProblems(table, m_shared.input.language, 1);
    std::replace(problems.begin(), problems.end(), '\n', ' ');
    ShowProblemText(problems);
    if (table.segments.empty()) return;
    m_shared.show = table.segments;
    FillShowList();
    PropSheet_Changed(m_shared.sheet, m_hwnd);
}

void SettingsPageWnd::StartNewDay() {
    if (!m_shared.input.newLog) return;
    const bool done = m_shared.input.newLog();
    ShowProblemText(m_shared.Word(done ? SettingsWord::NewDayDone : SettingsWord::NewDayFailed));
}

void SettingsPageWnd::OnShowButton(int id) {
    std::vector<ShowSegment>& show = m_shared.show;
    const int selected = ListView_GetNextItem(m_showList, -1, LVNI_SELECTED);
    const bool some = selected >= 0 && selected < static_cast<int>(show.size());
    const auto at = show.begin() + (some ? selected : 0);
    int select = selected;
    if (id == kShowAdd || id == kShowUpdate) {
        const std::string typedName = Narrow(WindowText(m_segmentName)),
                          typedLength = Narrow(WindowText(m_segmentLength)),
                          typedStart = Narrow(WindowText(m_segmentStart));
        const std::string name(Trim(typedName));
        const auto length = ParseDuration(Trim(typedLength));
        const std::optional<int32_t> start = ParseTimeOfDay(Trim(typedStart));
        FoundProblem found{"", CheckSegmentName(name)};
        if (found.problem == SettingProblem::None && !length) found.problem = SettingProblem::NotALength;
        if (found.problem == SettingProblem::None && !start && !Trim(typedStart).empty())
            found.problem = SettingProblem::NotATimeOfDay;
        if (found.problem == SettingProblem::None && id == kShowAdd && show.size() >= kMaxSegments) return;
        ShowProblem(found);
        if (found.problem != SettingProblem::None) {
            if (found.problem == SettingProblem::NotALength) SetFocus(m_segmentLength);
            if (found.problem == SettingProblem::NotATimeOfDay) SetFocus(m_segmentStart);
            return;
        }
        if (id == kShowUpdate && !some) return;
        if (id == kShowAdd) {
            select = some ? selected + 1 : static_cast<int>(show.size());
            show.insert(show.begin() + select, ShowSegment{name, *length, start});
        } else {
            *at = ShowSegment{name, *length, start};
        }
    } else if (!some) {
        return;
    } else if (id == kShowRemove) {
        show.erase(at);
        select = selected < static_cast<int>(show.size()) ? selected : selected - 1;
    } else if (id == kShowUp && selected > 0) {
        std::iter_swap(at, at - 1);
        select = selected - 1;
    } else if (id == kShowDown && selected + 1 < static_cast<int>(show.size())) {
        std::iter_swap(at, at + 1);
        select = selected + 1;
    }
    FillShowList();
    if (select >= 0)
        ListView_SetItemState(m_showList, select, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    PropSheet_Changed(m_shared.sheet, m_hwnd);
}

}  // namespace tallyglass
