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
std::wstring TextOf(HWND control) {
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), length + 1)));
    return text;
}
}  // namespace

void SettingsPageWnd::BuildShowEditor(int y) {
    m_showList = Make(WC_LISTVIEWW, "", WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, kMargin, y,
                      kPageWidth - 2 * kMargin, 118, kShowList, WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(m_showList, LVS_EX_FULLROWSELECT);
    RECT widths{220, 0, 70, 0};
    MapDialogRect(m_hwnd, &widths);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    std::wstring name = Widen(m_shared.Word(SettingsWord::SegmentName)),
                 length = Widen(m_shared.Word(SettingsWord::SegmentLength));
    column.pszText = name.data();
    column.cx = widths.left;
    ListView_InsertColumn(m_showList, 0, &column);
    column.pszText = length.data();
    column.cx = widths.right;
    ListView_InsertColumn(m_showList, 1, &column);
    const int row = y + 122;
    Make(L"STATIC", m_shared.Word(SettingsWord::SegmentName), SS_LEFT | SS_CENTERIMAGE, kMargin, row, 40,
         kControlHeight, -1);
    m_segmentName = Make(L"EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, kMargin + 42, row, 170, kControlHeight, kSegmentName,
                         WS_EX_CLIENTEDGE);
    Make(L"STATIC", m_shared.Word(SettingsWord::SegmentLength), SS_LEFT | SS_CENTERIMAGE, kMargin + 218, row, 40,
         kControlHeight, -1);
    m_segmentLength = Make(L"EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, kMargin + 258, row, 58, kControlHeight,
                           kSegmentLength, WS_EX_CLIENTEDGE);
    const SettingsWord buttons[] = {SettingsWord::Add, SettingsWord::Update, SettingsWord::Remove, SettingsWord::Up,
                                    SettingsWord::Down};
    for (int i = 0; i < 5; ++i)
        Make(L"BUTTON", m_shared.Word(buttons[i]), WS_TABSTOP, kMargin + i * 64, row + 18, 60, 14, kShowAdd + i);
}

void SettingsPageWnd::FillShowList() {
    const int selected = ListView_GetNextItem(m_showList, -1, LVNI_SELECTED);
    ListView_DeleteAllItems(m_showList);
    for (size_t i = 0; i < m_shared.show.size(); ++i) {
        std::wstring name = Widen(m_shared.show[i].name), length = Widen(FormatDuration(m_shared.show[i].seconds));
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = name.data();
        ListView_InsertItem(m_showList, &item);
        ListView_SetItemText(m_showList, static_cast<int>(i), 1, length.data());
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
}

void SettingsPageWnd::OnShowButton(int id) {
    std::vector<ShowSegment>& show = m_shared.show;
    const int selected = ListView_GetNextItem(m_showList, -1, LVNI_SELECTED);
    const bool some = selected >= 0 && selected < static_cast<int>(show.size());
    const auto at = show.begin() + (some ? selected : 0);
    int select = selected;
    if (id == kShowAdd || id == kShowUpdate) {
        const std::string typedName = Narrow(TextOf(m_segmentName)), typedLength = Narrow(TextOf(m_segmentLength));
        const std::string name(Trim(typedName));
        const auto length = ParseDuration(Trim(typedLength));
        FoundProblem found{"", CheckSegmentName(name)};
        if (found.problem == SettingProblem::None && !length) found.problem = SettingProblem::NotALength;
        if (found.problem == SettingProblem::None && id == kShowAdd && show.size() >= kMaxSegments) return;
        ShowProblem(found);
        if (found.problem != SettingProblem::None) {
            if (found.problem == SettingProblem::NotALength) SetFocus(m_segmentLength);
            return;
        }
        if (id == kShowUpdate && !some) return;
        if (id == kShowAdd) {
            select = some ? selected + 1 : static_cast<int>(show.size());
            show.insert(show.begin() + select, ShowSegment{name, *length});
        } else {
            *at = ShowSegment{name, *length};
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
