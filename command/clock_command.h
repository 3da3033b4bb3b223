#pragma once
// What the clock is told to do, whichever way it came in: a key, a hot key, the
// menu, the New-countdown dialog, the command line, a second start, HTTP, a
// WebSocket or OSC. Each way in only names the command and hands over its word;
// the word is checked and cleaned here, once, for all of them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <vector>

#include "command/countdown_values.h"
#include "command/slide_show_seen.h"
#include "store/run_of_show.h"
#include "store/settings_merge.h"

namespace tallyglass {

enum class CommandKind {
    Start,               // from idle, or resumes a paused count
    PauseOrResume,       // F3: pauses a running count, resumes a paused one
    Resume,              // only resumes
    Reset,               // F4
    AddSeconds,          // number: seconds more (negative: fewer)
    SetLength,           // number: the new length in seconds, as New countdown with only the length changed
    CountUntil,          // number: minutes since local midnight
    NextSegment,         // number: steps in a run of show, 1 but from the command line
    PreviousSegment,     // number: steps back
    GoToSegment,         // number: from 1
    SetMessage,          // text: the message to the presenter, cleaned, never empty
    ClearMessage,        //
    ToggleClickThrough,  //
    NewCountdown,        // values: the dialog's
    FlashMessage,        // the message's line blinks for a few seconds on the clock and the view page
    BlackoutOn,          // the view page goes black, until BlackoutOff
    BlackoutOff,         //
    ApplySettings,       // settings, show: what the settings window changed, for the running clock
    SlideShowSeen,       // slideShow: what the watcher now sees of a slide show
    SlideShowPause,      // pauses a running count, and remembers the slide show did
    SlideShowResume,     // resumes a count only when the slide show paused it
};

// Where an order came from, for the run log: every way in names itself as it hands the
// command over; the clock's own moves (the schedule's start) are Clock.
enum class WayIn { Clock, Key, HotKey, ContextMenu, CommandLine, Page, Api, Osc, Settings, SlideShow };
const char* WayInName(WayIn way);

struct ClockCommand {
    CommandKind kind = CommandKind::Start;
    int32_t number = 0;
    std::string text;
    CountdownValues values;  // NewCountdown only
    // ApplySettings only: the keys changed, with their text as the file holds it, and the
    // run of show when it was edited.
    WrittenKeys settings = {};
    std::optional<std::vector<ShowSegment>> show = std::nullopt;
    std::optional<SlideShowSeen> slideShow = std::nullopt;  // SlideShowSeen only
    WayIn wayIn = WayIn::Clock;  // not part of what the command is: two ways in give equal commands
};

bool operator==(const ClockCommand& a, const ClockCommand& b);
inline bool operator!=(const ClockCommand& a, const ClockCommand& b) { return !(a == b); }

// A command, or why its word could not be used (and the word, to name it).
struct CommandCheck {
    std::optional<ClockCommand> command;
    std::string why;
    std::string word;
};

// The one place a word becomes a command's value: AddSeconds takes whole seconds
// ("60", "+60", "-30") within 32 bits; SetLength a length ("90", "20m", "1:30");
// CountUntil a time of day ("14:30"); GoToSegment a number from 1; SetMessage any
// text, cleaned (an empty one clears). The other kinds ignore the word.
CommandCheck CheckCommand(CommandKind kind, std::string_view word = {});

// The network's words for the commands, the same for a path (/api/v1/add/60), a
// WebSocket's "order" and an OSC address (/tallyglass/add): start, pause, resume,
// reset, add, set, until, next, previous, segment, message, message/clear, flash,
// blackout/on, blackout/off.
std::optional<CommandKind> CommandForNetworkWord(std::string_view word);
// Whether the network's word takes a value after it.
bool TakesWord(CommandKind kind);

}  // namespace tallyglass
