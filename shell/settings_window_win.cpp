#include "shell/settings_window_win.h"

#include "clock/hot_key_table.h"
#include "command/hot_key_text.h"
#include "framework/text_win.h"
#include "remote/remote_system_win.h"
#include "settings/settings_sheet_win.h"
#include "shell/show_file_win.h"

namespace tallyglass {

namespace {
constexpr int kProbeHotKeyId = 0xBFFE;  // a moment's registration to see whether a key is free

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM found) {
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info)) return TRUE;
    auto& list = *reinterpret_cast<std::vector<MonitorChoice>*>(found);
    const std::string name = Narrow(info.szDevice);
    const RECT& r = info.rcMonitor;
    list.push_back({name, std::to_string(list.size() + 1) + ": " + name + ", " + std::to_string(r.right - r.left) +
                              " x " + std::to_string(r.bottom - r.top)});
    return TRUE;
}

std::vector<MonitorChoice> Monitors() {
    std::vector<MonitorChoice> monitors;
    EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

// The clock's own hot keys are free to keep; any other is tried for a moment.
bool HotKeyFree(HWND window, const CountdownModel& model, const std::string& text) {
    const ParsedHotKey wanted = ParseHotKeyText(text);
    if (wanted.outcome != HotKeyParse::Ok) return true;  // the page names what is wrong with it
    for (const HotKeySlot& slot : HotKeySlots()) {
        const ParsedHotKey held = ParseHotKeyText(model.*slot.text);
        if (held.outcome == HotKeyParse::Ok && held.key == wanted.key) return true;
    }
    if (!RegisterHotKey(window, kProbeHotKeyId, wanted.key.modifiers | MOD_NOREPEAT, wanted.key.keyCode)) return false;
    UnregisterHotKey(window, kProbeHotKeyId);
    return true;
}

SettingsSheetInput InputFor(HWND window, ClockParts& parts, const CountdownModel& model) {
    SettingsSheetInput input;
    CCore& core = parts.store->Core();
    for (const SettingsField& field : SettingsFields()) input.values[field.key] = core.getConfigStr(field.key);
    input.show = model.m_show;
    input.language = core.Language();
    input.addresses = LocalAddresses();
    input.monitors = Monitors();
    const std::wstring status = parts.remote ? parts.remote->Status() : L"Remote control: off.";
    input.remoteState = Narrow(status.substr(0, status.find(L'\n')));
    const CountdownModel* clock = &model;
    input.hotKeyFree = [window, clock](const std::string& text) { return HotKeyFree(window, *clock, text); };
    input.makeKey = [] { return MakeRemoteKey(); };
    input.readShow = &ReadShowFile;
    const RunLogFile* log = parts.runLog ? &*parts.runLog : nullptr;
    input.newLog = [log] { return log && log->NewDay(); };
    return input;
}
}  // namespace

void OpenSettingsWindow(HWND window, ClockParts& parts, const CountdownModel& model,
                        const std::function<void(const ClockCommand&)>& apply) {
    if (!parts.store) return;
    SettingsSheet sheet(InputFor(window, parts, model), [&parts, &apply](const SettingsChange& change) {
        // Into the file first: remote control, started again, reads its settings there.
        CCore& core = parts.store->Core();
        for (const auto& [key, value] : change.settings) core.saveConfigStr(key.c_str(), value);
        if (change.show) core.saveShow(*change.show);
        core.commitConfig();
        ClockCommand command;
        command.kind = CommandKind::ApplySettings;
        command.wayIn = WayIn::Settings;
        command.settings = change.settings;
        command.show = change.show;
        apply(command);
    });
    sheet.Run(window);
}

}  // namespace tallyglass
