// A field's row on a settings page: its label and control, the choices of a
// drop-down list, and the value put into the control and read back out of it.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <set>

#include "command/hot_key_text.h"
#include "framework/handles_win.h"
#include "framework/text_win.h"
#include "settings/settings_ids_win.h"
#include "settings/settings_page_win.h"
#include "store/setting_keys.h"

namespace tallyglass {

namespace {
using C = FieldControl;
using namespace settings_ids;
namespace k = setting_keys;

// The hot-key control's flags against RegisterHotKey's modifiers. The keys of the
// cursor block are "extended": without the flag the control names the keypad's.
WORD ControlFlags(uint32_t modifiers, uint32_t keyCode) {
    const bool extended = (keyCode >= VK_PRIOR && keyCode <= VK_DOWN) || keyCode == VK_INSERT || keyCode == VK_DELETE;
    return static_cast<WORD>(((modifiers & hot_key_modifier::kShift) ? HOTKEYF_SHIFT : 0) |
                             ((modifiers & hot_key_modifier::kControl) ? HOTKEYF_CONTROL : 0) |
                             ((modifiers & hot_key_modifier::kAlt) ? HOTKEYF_ALT : 0) | (extended ? HOTKEYF_EXT : 0));
}

uint32_t ModifiersOf(WORD flags) {
    return ((flags & HOTKEYF_SHIFT) ? hot_key_modifier::kShift : 0) |
           ((flags & HOTKEYF_CONTROL) ? hot_key_modifier::kControl : 0) |
           ((flags & HOTKEYF_ALT) ? hot_key_modifier::kAlt : 0);
}

int CALLBACK AddFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM found) {
    // Vertical faces ("@SimSun") are for text set on end, never a clock's.
    if (font->lfFaceName[0] != L'@') reinterpret_cast<std::set<std::wstring>*>(found)->insert(font->lfFaceName);
    return 1;
}

std::set<std::wstring> FontFamilies(HWND window) {
    std::set<std::wstring> families;
    const WindowDc dc(window);
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(dc.get(), &wanted, &AddFamily, reinterpret_cast<LPARAM>(&families), 0);
    return families;
}

struct Choice {
    const char* value;
    const char* english;
    const char* chinese;
};

std::vector<Choice> FixedChoices(FieldControl control) {
    if (control == C::Face)
        return {{"remaining", "the time left", "剩余时间"}, {"elapsed", "the time since the start", "已用时间"}};
    if (control == C::AutoStart)
        return {{"0", "by hand", "手动"},
                {"1", "as the show moves on", "进入时自动开始"},
                {"schedule", "at its planned start", "按计划时间开始"}};
    if (control == C::SlideShow)
        return {{"off", "take no notice", "不跟随"},
                {"start", "start the count as it begins", "放映开始时开始计时"},
                {"follow", "start, pause and resume with it", "随放映开始、暂停和继续"}};
    if (control == C::RemoteMode)
        return {{"off", "off", "关闭"}, {"local", "this PC only", "仅本机"}, {"lan", "the local network", "局域网"}};
    return {};
}
}  // namespace

void SettingsPageWnd::BuildRow(Row& row, int x, int y, int width) {
    const SettingsField& field = *row.field;
    const std::string label = m_shared.input.language == UiLanguage::Chinese ? field.chinese : field.english;
    const int id = kFieldBase + static_cast<int>(&row - m_rows.data());
    if (field.control == C::Check) {
        row.control = Make(L"BUTTON", label, BS_AUTOCHECKBOX | WS_TABSTOP, x, y, width, 10, id);
        return;
    }
    const int labelWidth = m_page == SettingsPage::Clock ? 74 : 96;
    Make(L"STATIC", label, SS_LEFT | SS_CENTERIMAGE, x, y, labelWidth - 2, kControlHeight, -1);
    const int cx = x + labelWidth, cw = width - labelWidth;
    const DWORD edit = WS_TABSTOP | ES_AUTOHSCROLL;
    switch (field.control) {
        case C::HotKey:
            row.control = Make(HOTKEY_CLASSW, "", WS_TABSTOP, cx, y, 100, kControlHeight, id, WS_EX_CLIENTEDGE);
            Make(L"BUTTON", m_shared.Word(SettingsWord::Clear), WS_TABSTOP, cx + 104, y, 40, kControlHeight,
                 id + kClearOffset);
            row.status = Make(L"STATIC", "", SS_LEFT | SS_CENTERIMAGE, cx + 148, y, cw - 148, kControlHeight, -1);
            return;
        case C::Colour:
            row.control = Make(L"EDIT", "", edit, cx, y, cw - 34, kControlHeight, id, WS_EX_CLIENTEDGE);
            Make(L"BUTTON", m_shared.Word(SettingsWord::Choose), WS_TABSTOP, cx + cw - 32, y, 32, kControlHeight,
                 id + kChooseOffset);
            return;
        case C::FontFamily:
            row.control = Make(L"COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_SORT | CBS_AUTOHSCROLL, cx,
                               y, cw, 120, id);
            for (const std::wstring& family : FontFamilies(m_hwnd))
                SendMessageW(row.control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(family.c_str()));
            return;
        case C::Face:
        case C::AutoStart:
        case C::SlideShow:
        case C::RemoteMode:
        case C::Address:
        case C::Monitor:
            row.control = Make(L"COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, cx, y, cw, 120, id);
            return;
        default: {
            const bool key = field.key == std::string(k::kRemoteKey) || field.key == std::string(k::kRemoteViewKey);
            row.control = Make(L"EDIT", "", edit | (field.control == C::Number ? ES_NUMBER : 0), cx, y,
                               key ? cw - 64 : cw, kControlHeight, id, WS_EX_CLIENTEDGE);
            if (key)
                Make(L"BUTTON", m_shared.Word(SettingsWord::NewKey), WS_TABSTOP, cx + cw - 60, y, 60, kControlHeight,
                     id + kNewKeyOffset);
        }
    }
}

SettingsPageWnd::Row* SettingsPageWnd::RowOf(const char* key) {
    for (Row& row : m_rows)
        if (row.field->key == std::string(key)) return &row;
    return nullptr;
}

void SettingsPageWnd::SetValue(Row& row, const std::string& value) {
    const FieldControl control = row.field->control;
    if (control == C::Check) {
        bool on = false;
        ParseStoredBool(value, on);
        SendMessageW(row.control, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    } else if (control == C::HotKey) {
        const ParsedHotKey parsed = ParseHotKeyText(value);
        const WORD key = parsed.outcome == HotKeyParse::Ok
                             ? MAKEWORD(parsed.key.keyCode, ControlFlags(parsed.key.modifiers, parsed.key.keyCode))
                             : WORD{0};
        SendMessageW(row.control, HKM_SETHOTKEY, key, 0);
        OnHotKeyChanged(row);
    } else if (!row.choices.empty()) {
        const auto found = std::find(row.choices.begin(), row.choices.end(), value);
        SendMessageW(row.control, CB_SETCURSEL, found == row.choices.end() ? 0 : found - row.choices.begin(), 0);
    } else {
        SetWindowTextW(row.control, Widen(value).c_str());
    }
    row.shown = ValueOf(row);
}

std::string SettingsPageWnd::ValueOf(const Row& row) const {
    switch (row.field->control) {
        case C::Check:
            return SendMessageW(row.control, BM_GETCHECK, 0, 0) == BST_CHECKED ? "1" : "0";
        case C::HotKey: {
            const auto key = static_cast<WORD>(SendMessageW(row.control, HKM_GETHOTKEY, 0, 0));
            if (LOBYTE(key) == 0) return {};
            return FormatHotKey({ModifiersOf(HIBYTE(key)), LOBYTE(key)});
        }
        default:
            if (!row.choices.empty()) {
                const auto index = SendMessageW(row.control, CB_GETCURSEL, 0, 0);
                return index >= 0 && static_cast<size_t>(index) < row.choices.size()
                           ? row.choices[static_cast<size_t>(index)]
                           : std::string();
            }
            return Narrow(WindowText(row.control));
    }
}

void SettingsPageWnd::Load() {
    m_loading = true;
    for (Row& row : m_rows) {
        const FieldControl control = row.field->control;
        std::vector<std::pair<std::string, std::string>> items;  // value, label
        for (const Choice& choice : FixedChoices(control))
            items.emplace_back(choice.value,
                               m_shared.input.language == UiLanguage::Chinese ? choice.chinese : choice.english);
        if (control == C::Address) {
            items.emplace_back("", m_shared.Word(SettingsWord::AllAddresses));
            for (const std::string& address : m_shared.input.addresses) items.emplace_back(address, address);
        }
        if (control == C::Monitor) {
            items.emplace_back("", m_shared.Word(SettingsWord::MonitorAsBefore));
            items.emplace_back("primary", m_shared.Word(SettingsWord::MonitorPrimary));
            for (const MonitorChoice& monitor : m_shared.input.monitors)
                items.emplace_back(monitor.value, monitor.label);
        }
        const std::string& value = m_shared.values[row.field->key];
        // A value the list lacks (a monitor not plugged in now) stays choosable as it is.
        if (!items.empty() &&
            std::none_of(items.begin(), items.end(), [&](const auto& item) { return item.first == value; }))
            items.emplace_back(value, value);
        for (const auto& [itemValue, label] : items) {
            row.choices.push_back(itemValue);
            SendMessageW(row.control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(label).c_str()));
        }
        SetValue(row, value);
    }
    if (m_showList) FillShowList();
    if (m_controlLink) UpdateLinks();
    m_loading = false;
}

}  // namespace tallyglass
