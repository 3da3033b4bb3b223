#pragma once
// The run log's lines: what the clock did, when, in which segment, with how much left,
// and by which way in; one CSV line each, so that a spreadsheet reads the log as it is.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "clock/countdown_model.h"
#include "command/clock_command.h"

namespace tallyglass {

struct RunLogEvent {
    std::string event;    // start, pause, resume, reset, add, set, until, segment, message, ...; the end of a phase
    std::string segment;  // the current segment's name; empty without a show
    int32_t remaining = 0;
    std::string wayIn;
};

inline constexpr char kRunLogHeader[] = "time,event,segment,remaining,way_in";

// The current segment's name; empty without a show.
std::string LoggedSegment(const CountdownModel& model);

// What a command did, once applied; none when it changed nothing worth a line.
std::optional<RunLogEvent> LogEventFor(const ClockCommand& command, const CountdownModel& after, bool changed);

// The phases that ended between two looks at the clock ("counting ended", "alert ended"),
// in the segment they ended in (the show may have moved on since).
std::vector<RunLogEvent> PhaseEnds(const std::string& phaseBefore, const std::string& segmentBefore,
                                   const CountdownModel& after);

// One line: the time (local, with its UTC offset, as 2026-12-07T14:32:05+01:00), then the
// event's fields, quoted where a name holds a comma, a quote or a line break.
std::string RunLogLine(const std::string& localTime, const RunLogEvent& event);

}  // namespace tallyglass
