#include "settings/settings_page_win.h"

#include <windows.h>
#include <commctrl.h>

#include "base/color.h"
#include "framework/clipboard_win.h"
#include "framework/text_win.h"
#include "settings/settings_ids_win.h"
#include "store/setting_keys.h"

namespace tallyglass {

namespace {
using C = FieldControl;
using namespace settings_ids;
namespace k = setting_keys;

// An empty child dialog in the shell's font; the rows are made at WM_INITDIALOG.
std::vector<WORD> PageTemplate() {
    std::vector<WORD> words;
    const auto dword = [&words](DWORD value) {
        words.push_back(LOWORD(value));
        words.push_back(HIWORD(value));
    };
    dword(WS_CHILD | WS_CAPTION | DS_CONTROL | DS_SHELLFONT);
    dword(0);
    for (const WORD value : {WORD{0}, WORD{0}, WORD{0}, static_cast<WORD>(kPageWidth), static_cast<WORD>(kPageHeight)})
        words.push_back(value);
    words.insert(words.end(), {0, 0, 0, 8});  // no menu, the dialog class, no title; 8 points
    for (const wchar_t c : std::wstring(L"MS Shell Dlg")) words.push_back(c);
    words.push_back(0);
    return words;
}

SettingsWord TitleOf(SettingsPage page) {
    return static_cast<SettingsWord>(static_cast<int>(SettingsWord::PageClock) + static_cast<int>(page));
}

}  // namespace

SettingsPageWnd::SettingsPageWnd(SettingsSheet::Shared& shared, SettingsPage page)
    : m_shared(shared), m_page(page), m_template(PageTemplate()), m_title(Widen(shared.Word(TitleOf(page)))) {
    for (const SettingsField& field : SettingsFields())
        if (field.page == page) m_rows.push_back({&field});
}

PROPSHEETPAGEW SettingsPageWnd::Description() {
    PROPSHEETPAGEW page{};
    page.dwSize = sizeof page;
    page.dwFlags = PSP_DLGINDIRECT | PSP_USETITLE;
    page.pResource = reinterpret_cast<const DLGTEMPLATE*>(m_template.data());
    page.pszTitle = m_title.c_str();
    page.pfnDlgProc = &SettingsPageWnd::Proc;
    page.lParam = reinterpret_cast<LPARAM>(this);
    return page;
}

INT_PTR CALLBACK SettingsPageWnd::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<SettingsPageWnd*>(reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam);
        SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        self->m_hwnd = window;
        self->m_shared.sheet = GetParent(window);
    }
    auto* self = reinterpret_cast<SettingsPageWnd*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!self) return FALSE;
    try {
        return self->OnMessage(message, wParam, lParam);
    } catch (...) {  // a page that fails keeps the clock running; the value stays as it was
        return FALSE;
    }
}

INT_PTR SettingsPageWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            Build();
            Load();
            // The sheet opens at its owner's corner; once it has its size it moves to the
            // middle of the owner's screen, where it is whole.
            if (!m_shared.centred) PostMessageW(m_hwnd, kCentreSheet, 0, 0);
            m_shared.centred = true;
            if (!m_shared.waiting.key.empty() && FindSettingsField(m_shared.waiting.key)->page == m_page)
                ShowProblem(std::exchange(m_shared.waiting, {}));
            return TRUE;
        case kCentreSheet:
            CentreSheet();
            return TRUE;
        case WM_COMMAND:
            if (!m_loading) OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_DRAWITEM:
            OnDrawCode(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lParam) != m_problem) return FALSE;
            SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0xB0, 0, 0));
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<INT_PTR>(GetStockObject(HOLLOW_BRUSH));
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->hwndFrom == m_showList && header->code == LVN_ITEMCHANGED) OnShowSelection();
            if (header->code == PSN_SETACTIVE || header->code == PSN_KILLACTIVE) m_shared.roundDone = false;
            if (header->code == PSN_KILLACTIVE) {
                Save();
                SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, CheckPage() ? FALSE : TRUE);
                return TRUE;
            }
            if (header->code == PSN_APPLY) {
                Save();
                const bool taken = m_shared.roundDone || m_shared.ApplyNow();
                m_shared.roundDone = true;
                SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, taken ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE);
                return TRUE;
            }
            return FALSE;
        }
    }
    return FALSE;
}

HWND SettingsPageWnd::Make(const wchar_t* type, const std::string& text, DWORD style, int x, int y, int w, int h,
                           int id, DWORD exStyle) {
    RECT place{x, y, x + w, y + h};
    MapDialogRect(m_hwnd, &place);
    HWND control = CreateWindowExW(exStyle, type, Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, place.left,
                                   place.top, place.right - place.left, place.bottom - place.top, m_hwnd,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
    return control;
}

void SettingsPageWnd::CentreSheet() {
    RECT sheet;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    HWND over = GetWindow(m_shared.sheet, GW_OWNER);
    if (!GetWindowRect(m_shared.sheet, &sheet) ||
        !GetMonitorInfoW(MonitorFromWindow(over ? over : m_shared.sheet, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    // The sheet's own buttons speak the system's language; the clock's may be another.
    constexpr int kApplyNow = 0x3021;
    SetDlgItemTextW(m_shared.sheet, IDOK, Widen(m_shared.Word(SettingsWord::Ok)).c_str());
    SetDlgItemTextW(m_shared.sheet, IDCANCEL, Widen(m_shared.Word(SettingsWord::Cancel)).c_str());
    SetDlgItemTextW(m_shared.sheet, kApplyNow, Widen(m_shared.Word(SettingsWord::Apply)).c_str());
    const RECT& area = monitor.rcWork;
    const LONG width = sheet.right - sheet.left, height = sheet.bottom - sheet.top;
    const LONG left = area.left + ((area.right - area.left) - width) / 2;
    const LONG top = area.top + ((area.bottom - area.top) - height) / 2;
    SetWindowPos(m_shared.sheet, nullptr, left, top > area.top ? top : area.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SettingsPageWnd::Build() {
    m_font = reinterpret_cast<HFONT>(SendMessageW(m_hwnd, WM_GETFONT, 0, 0));
    // The clock's page has two columns; the others one.
    const bool twoColumns = m_page == SettingsPage::Clock;
    const int top = m_page == SettingsPage::Remote ? kMargin + kRowHeight : kMargin;
    const int perColumn = twoColumns ? (static_cast<int>(m_rows.size()) + 1) / 2 : static_cast<int>(m_rows.size());
    const int rowsTop = m_page == SettingsPage::Show ? 176 : top;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const int column = static_cast<int>(i) / (perColumn > 0 ? perColumn : 1);
        const int width = twoColumns ? 156 : kPageWidth - 2 * kMargin;
        BuildRow(m_rows[i], kMargin + column * (width + 4), rowsTop + (static_cast<int>(i) % perColumn) * kRowHeight,
                 width);
    }
    if (m_page == SettingsPage::Show) BuildShowEditor(kMargin);
    if (m_page == SettingsPage::Remote) BuildRemoteLinks(top + static_cast<int>(m_rows.size()) * kRowHeight + 2);
    m_problem =
        Make(L"STATIC", "", SS_LEFT, kMargin, kPageHeight - kRowHeight - 2, kPageWidth - 2 * kMargin, 10, kProblemLine);
}

// Only what the user changed: a value the control cannot show as the file has it
// (a hot key with Win, a flag written "yes") stays as it is unless touched.
void SettingsPageWnd::Save() {
    for (const Row& row : m_rows) {
        const std::string value = ValueOf(row);
        if (value != row.shown) m_shared.values[row.field->key] = value;
    }
}

bool SettingsPageWnd::CheckPage() {
    SettingsValues mine;
    for (const Row& row : m_rows)
        if (m_shared.values[row.field->key] != m_shared.applied[row.field->key])
            mine[row.field->key] = m_shared.values[row.field->key];
    const FoundProblem found = FirstProblem(mine, m_shared.input.addresses);
    ShowProblem(found);
    return found.problem == SettingProblem::None;
}

void SettingsPageWnd::ShowProblemText(const std::string& text) {
    if (!m_problem) return;
    SetWindowTextW(m_problem, Widen(text).c_str());
    // Its background is the page's: the page paints it afresh under the new words.
    RECT place;
    GetWindowRect(m_problem, &place);
    MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&place), 2);
    InvalidateRect(m_hwnd, &place, TRUE);
}

void SettingsPageWnd::ShowProblem(const FoundProblem& found) {
    if (!m_problem) return;
    ShowProblemText(ProblemText(found.problem, m_shared.input.language));
    if (found.problem == SettingProblem::None) return;
    if (found.key.empty() && m_segmentName) return (void)SetFocus(m_segmentName);
    if (Row* row = RowOf(found.key.c_str())) SetFocus(row->control);
}

void SettingsPageWnd::OnCommand(int id, int code) {
    const int index = id - kFieldBase;
    if (index >= 0 && index < static_cast<int>(m_rows.size())) {
        Row& row = m_rows[static_cast<size_t>(index)];
        if (row.field->control == C::HotKey && code == EN_CHANGE) OnHotKeyChanged(row);
        const bool changed = code == EN_CHANGE || code == CBN_SELCHANGE || code == CBN_EDITCHANGE || code == BN_CLICKED;
        if (changed) {
            if (row.field->control == C::RemoteMode) {
                // A first start of remote control makes its keys: so does choosing it here.
                for (const char* key : {k::kRemoteKey, k::kRemoteViewKey})
                    if (Row* keyRow = RowOf(key); keyRow && ValueOf(*keyRow).empty() && m_shared.input.makeKey)
                        SetWindowTextW(keyRow->control, Widen(m_shared.input.makeKey()).c_str());
            }
            if (m_controlLink) UpdateLinks();
            PropSheet_Changed(m_shared.sheet, m_hwnd);
        }
        return;
    }
    if (id >= kFieldBase + kClearOffset && id < kFieldBase + kClearOffset + static_cast<int>(m_rows.size())) {
        Row& row = m_rows[static_cast<size_t>(id - kFieldBase - kClearOffset)];
        SendMessageW(row.control, HKM_SETHOTKEY, 0, 0);
        OnHotKeyChanged(row);
        PropSheet_Changed(m_shared.sheet, m_hwnd);
        return;
    }
    if (id >= kFieldBase + kChooseOffset && id < kFieldBase + kChooseOffset + static_cast<int>(m_rows.size()))
        return ChooseColour(m_rows[static_cast<size_t>(id - kFieldBase - kChooseOffset)]);
    if (id >= kFieldBase + kNewKeyOffset && id < kFieldBase + kNewKeyOffset + static_cast<int>(m_rows.size())) {
        if (m_shared.input.makeKey)
            SetWindowTextW(m_rows[static_cast<size_t>(id - kFieldBase - kNewKeyOffset)].control,
                           Widen(m_shared.input.makeKey()).c_str());
        return;
    }
    if (id == kCopyControl || id == kCopyView) {
        const std::wstring link = WindowText(id == kCopyControl ? m_controlLink : m_viewLink);
        if (!link.empty()) CopyTextToClipboard(m_hwnd, link);
        return;
    }
    if (id >= kShowAdd && id <= kShowDown && code == BN_CLICKED) OnShowButton(id);
    if (id == kShowImport && code == BN_CLICKED) ImportShow();
    if (id == kShowNewDay && code == BN_CLICKED) StartNewDay();
}

void SettingsPageWnd::OnHotKeyChanged(Row& row) {
    const std::string value = ValueOf(row);
    const bool free = value.empty() || !m_shared.input.hotKeyFree || m_shared.input.hotKeyFree(value);
    SetWindowTextW(row.status, free ? L"" : Widen(m_shared.Word(SettingsWord::Taken)).c_str());
}

void SettingsPageWnd::ChooseColour(Row& row) {
    static COLORREF custom[16] = {};
    const uint32_t argb = ParseColor(Narrow(WindowText(row.control))).value_or(0xFFFFFFFF);
    CHOOSECOLORW choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = m_hwnd;
    choose.rgbResult = RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
    choose.lpCustColors = custom;
    choose.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorW(&choose)) return;
    wchar_t text[8];
    swprintf(text, 8, L"#%02X%02X%02X", GetRValue(choose.rgbResult), GetGValue(choose.rgbResult),
             GetBValue(choose.rgbResult));
    SetWindowTextW(row.control, text);
}

}  // namespace tallyglass
