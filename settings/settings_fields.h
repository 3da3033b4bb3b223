#pragma once
// What the settings window shows: every key it sets, on which page and in which
// kind of control, the words it says in both languages, and the checks a value
// must pass before OK is taken. Portable, so that the native suite can hold the
// window to the settings file's list of keys.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "base/ui_language.h"
#include "store/run_of_show.h"

namespace tallyglass {

enum class SettingsPage { Clock, Keys, Remote, Show, Screen };
constexpr int kSettingsPageCount = 5;

enum class FieldControl {
    Text,        // an edit box
    Number,      // an edit box of whole numbers
    Check,       // "1" or "0"
    FontFamily,  // a drop-down of the installed families, or a name typed
    Colour,      // a button that opens the system's colour picker; "#RRGGBB"
    Face,        // remaining or elapsed
    HotKey,      // a hot-key control with Clear; "" for off
    RemoteMode,  // off, local, lan
    Address,     // this PC's IPv4 addresses, or all ("")
    Monitor,     // "", primary, or a monitor's name
    AutoStart,   // 0, 1 (as the show moves on), schedule (at its planned start)
    SlideShow,   // off, start, follow
};

struct SettingsField {
    const char* key;
    FieldControl control;
    SettingsPage page;
    const char* english;  // the label
    const char* chinese;
};

// In the order the window lays them out, page by page.
const std::vector<SettingsField>& SettingsFields();
const SettingsField* FindSettingsField(std::string_view key);

// The window's other words (titles, buttons, notes), each in both languages.
enum class SettingsWord {
    Title,
    PageClock,
    PageKeys,
    PageRemote,
    PageShow,
    PageScreen,
    Clear,
    Taken,
    NewKey,
    Copy,
    ControlLink,
    ViewLink,
    Add,
    Update,
    Remove,
    Up,
    Down,
    Import,
    ImportFiles,
    NewDay,
    NewDayDone,
    NewDayFailed,
    SegmentName,
    SegmentLength,
    SegmentStart,
    Choose,
    RemoteOffLinks,
    MonitorAsBefore,
    MonitorPrimary,
    AllAddresses,
    Ok,
    Cancel,
    Apply,
    Count
};
const char* WordOf(SettingsWord word, UiLanguage language);

// Why a value cannot be taken; None when it can.
enum class SettingProblem {
    None,
    NotANumber,
    PortOutOfRange,
    KeyTooShort,
    KeysTheSame,
    NotThisPcsAddress,
    NotAHostAndPort,
    NotALength,
    NotATimeOfDay,
    NotAColour,
    NotAHotKey,
    NameEmpty,
    NameTooLong,
    NameHasMark,
};
const char* ProblemText(SettingProblem problem, UiLanguage language);

// The values the window holds, by key, as the file writes them.
using SettingsValues = std::map<std::string, std::string>;

// One value on its own. localAddresses: this PC's IPv4 addresses, for remotebind.
SettingProblem CheckSetting(std::string_view key, std::string_view value,
                            const std::vector<std::string>& localAddresses);
// A segment of the run of show as typed: a name the [show] section can hold, and a length.
SettingProblem CheckSegmentName(std::string_view name);

struct FoundProblem {
    std::string key;  // empty for one that is the show's
    SettingProblem problem = SettingProblem::None;
};
// The first value that cannot be taken, field by field in the window's order, then
// what only the values together can break (the two keys the same).
FoundProblem FirstProblem(const SettingsValues& values, const std::vector<std::string>& localAddresses);

// The keys whose values differ, with their new text, in the window's order.
std::vector<std::pair<std::string, std::string>> ChangedSettings(const SettingsValues& before,
                                                                 const SettingsValues& after);

}  // namespace tallyglass
