#pragma once
// The command line: TallyglassCountdown.exe [LENGTH] [--start] [--reset]
// [--pause] [--add SECONDS] [--until HH:MM] [--next] [--previous] [--segment N]
// [--show FILE.csv] [--settings FILE], and the words a second start hands to the running clock.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "command/clock_command.h"

namespace tallyglass {

// What the clock is told to do, applied in this order: a new run of show (then its
// first segment, idle), reset, segment (a run of show's), length (as New countdown),
// until or start, add, pause.
struct ClockOrders {
    std::optional<std::vector<ShowSegment>> show;  // read from --show's file by the Windows side
    bool reset = false;
    std::optional<int32_t> segment;      // from 1
    int32_t segmentSteps = 0;            // +1 a --next, -1 a --previous, after the segment
    std::optional<int32_t> length;       // seconds
    std::optional<int32_t> untilMinute;  // minutes since midnight, local time
    bool start = false;
    int32_t addSeconds = 0;  // the sum of every --add, saturated
    bool pause = false;      // toggles, as F3 does
    bool Empty() const {
        return !show && !reset && !segment && segmentSteps == 0 && !length && !untilMinute && !start &&
               addSeconds == 0 && !pause;
    }
};

struct CommandLine {
    ClockOrders orders;
    std::optional<std::string> settingsPath;  // UTF-8
    std::optional<std::string> showPath;      // UTF-8: a running order to read, as a spreadsheet exports it
};

struct ParsedCommandLine {
    bool ok = true;
    CommandLine line;
    std::string badWord;  // the first word that could not be used; empty after a missing value
    std::string why;
};

// The orders as the clock's commands, in the order above.
std::vector<tallyglass::ClockCommand> CommandsOf(const ClockOrders& orders);

// The words after the program's name, UTF-8.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& words);

// One line, for the usage message and About.
extern const char kCommandLineUsage[];

// Whether a process's command line holds anything after the program's name, by the
// rules Windows splits it with: a quoted name runs to the next quote, else to a blank.
// Without, the words need not be split (nor the shell's DLL loaded to split them).
bool HasWordsAfterProgram(std::wstring_view commandLine);

// The words a second start hands over: all but --settings and its file.
std::vector<std::string> WordsToHandOver(const std::vector<std::string>& words);
// Words joined by NUL characters, and split again.
std::string JoinWords(const std::vector<std::string>& words);
std::vector<std::string> SplitWords(std::string_view joined);

}  // namespace tallyglass
