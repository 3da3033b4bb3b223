#include "settings/settings_sheet_win.h"

#include <windows.h>
#include <commctrl.h>

#include "framework/text_win.h"
#include "settings/settings_page_win.h"
#include "store/setting_keys.h"

namespace tallyglass {

namespace {
namespace k = setting_keys;

// The sheet's own window, once a page knows it.
HWND ShowSheet(SettingsSheet::Shared& shared, HWND owner, bool modeless) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_HOTKEY_CLASS | ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    std::vector<PROPSHEETPAGEW> pages;
    for (const auto& page : shared.pages) pages.push_back(page->Description());
    const std::wstring title = Widen(shared.Word(SettingsWord::Title));
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOCONTEXTHELP | (modeless ? PSH_MODELESS : 0);
    header.hwndParent = owner;
    header.pszCaption = title.c_str();
    header.nPages = static_cast<UINT>(pages.size());
    header.ppsp = pages.data();
    const INT_PTR result = PropertySheetW(&header);
    return modeless ? reinterpret_cast<HWND>(result) : nullptr;
}
}  // namespace

bool SettingsSheet::Shared::ApplyNow() {
    SettingsValues changed;
    for (const auto& [key, value] : values)
        if (applied[key] != value) changed[key] = value;
    // The two keys are checked together: one changed may now equal the other.
    if (changed.count(k::kRemoteKey) || changed.count(k::kRemoteViewKey))
        for (const char* key : {k::kRemoteKey, k::kRemoteViewKey}) changed[key] = values[key];
    const FoundProblem found = FirstProblem(changed, input.addresses);
    if (found.problem != SettingProblem::None) {
        const auto page = static_cast<int>(FindSettingsField(found.key)->page);
        if (pages[static_cast<size_t>(page)]->Window())
            pages[static_cast<size_t>(page)]->ShowProblem(found);
        else
            waiting = found;  // shown as the page is made
        PropSheet_SetCurSel(sheet, nullptr, page);
        return false;
    }
    SettingsChange change{ChangedSettings(applied, values), std::nullopt};
    if (show != appliedShow) change.show = show;
    if (!change.Empty() && apply) apply(change);
    applied = values;
    appliedShow = show;
    return true;
}

SettingsSheet::SettingsSheet(SettingsSheetInput input, ApplySettingsFn apply) : m_shared(std::make_unique<Shared>()) {
    Shared& shared = *m_shared;
    shared.input = std::move(input);
    shared.apply = std::move(apply);
    shared.values = shared.applied = shared.input.values;
    shared.show = shared.appliedShow = shared.input.show;
    for (int page = 0; page < kSettingsPageCount; ++page)
        shared.pages.push_back(std::make_unique<SettingsPageWnd>(shared, static_cast<SettingsPage>(page)));
}

SettingsSheet::~SettingsSheet() = default;

void SettingsSheet::Run(HWND owner) { ShowSheet(*m_shared, owner, false); }

HWND SettingsSheet::Create(HWND owner) {
    m_shared->sheet = ShowSheet(*m_shared, owner, true);
    return m_shared->sheet;
}

}  // namespace tallyglass
