#pragma once
// The settings window: a property sheet of five pages (Clock, Keys, Remote, Run of
// show, Screen) built from the settings table, in the clock's language. Apply and
// OK hand what changed since the last apply to the clock; Cancel changes nothing
// more. A value that cannot be taken is named on its page and keeps the sheet open.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "settings/settings_fields.h"
#include "store/settings_merge.h"
#include "store/show_table.h"

namespace tallyglass {

struct MonitorChoice {
    std::string value;  // as the settings file holds it: the device name
    std::string label;  // "2: \\.\DISPLAY2, 1920 x 1080"
};

struct SettingsSheetInput {
    SettingsValues values;  // every field's key, as the file holds it now
    std::vector<ShowSegment> show;
    UiLanguage language = UiLanguage::English;
    std::vector<std::string> addresses;  // this PC's IPv4 addresses
    std::vector<MonitorChoice> monitors;
    std::string remoteState;  // listening on ..., or off and why
    // False when another program holds the hot key (the clock's own count as free).
    std::function<bool(const std::string& hotKey)> hotKeyFree;
    std::function<std::string()> makeKey;                         // a new key from the system's random source
    std::function<ShowTable(const std::wstring& path)> readShow;  // a running order's file, read and parsed
    std::function<bool()> newLog;  // sets the run log aside for a new day's; false when it could not
};

struct SettingsChange {
    WrittenKeys settings;                          // the keys that changed, in the window's order
    std::optional<std::vector<ShowSegment>> show;  // when the show was edited
    bool Empty() const { return settings.empty() && !show; }
};
using ApplySettingsFn = std::function<void(const SettingsChange& change)>;

class SettingsSheet {
public:
    SettingsSheet(SettingsSheetInput input, ApplySettingsFn apply);
    ~SettingsSheet();
    SettingsSheet(const SettingsSheet&) = delete;
    SettingsSheet& operator=(const SettingsSheet&) = delete;

    // Modal, over the owner; returns once the window closed.
    void Run(HWND owner);
    // Modeless, for tests to drive with messages: the sheet's window.
    HWND Create(HWND owner);

    struct Shared;  // what the pages share: the values, the show, the last applied

private:
    std::unique_ptr<Shared> m_shared;
};

}  // namespace tallyglass
