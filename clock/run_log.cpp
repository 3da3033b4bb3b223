#include "clock/run_log.h"

#include "clock/clock_snapshot.h"
#include "clock/display_selection.h"
#include "store/csv_records.h"

namespace tallyglass {

namespace {
const char* EventName(const ClockCommand& command, const CountdownModel& after) {
    switch (command.kind) {
        case CommandKind::Start:
            return "start";
        case CommandKind::PauseOrResume:
        case CommandKind::Resume:
        case CommandKind::SlideShowPause:
        case CommandKind::SlideShowResume:
            return after.m_paused ? "pause" : "resume";
        case CommandKind::Reset:
            return "reset";
        case CommandKind::AddSeconds:
            return "add";
        case CommandKind::SetLength:
        case CommandKind::NewCountdown:
            return "set";
        case CommandKind::CountUntil:
            return "until";
        case CommandKind::NextSegment:
        case CommandKind::PreviousSegment:
        case CommandKind::GoToSegment:
            return "segment";
        case CommandKind::SetMessage:
            return "message";
        case CommandKind::ClearMessage:
            return "message cleared";
        case CommandKind::ApplySettings:
            return "settings";
        default:  // the view page's and the window's own: not the show's course
            return nullptr;
    }
}

RunLogEvent EventOf(std::string name, const CountdownModel& model, std::string wayIn) {
    const ShowSegment* segment = CurrentSegment(model);
    const int32_t remaining = model.m_running ? model.m_remaining : model.m_countdownSeconds;
    return {std::move(name), segment ? segment->name : std::string(), remaining, std::move(wayIn)};
}
}  // namespace

std::string LoggedSegment(const CountdownModel& model) {
    const ShowSegment* segment = CurrentSegment(model);
    return segment ? segment->name : std::string();
}

std::optional<RunLogEvent> LogEventFor(const ClockCommand& command, const CountdownModel& after, bool changed) {
    const char* name = EventName(command, after);
    if (!changed || !name) return std::nullopt;
    // A minute more or less names its seconds, so that the report can sum what was adjusted.
    if (command.kind == CommandKind::AddSeconds)
        return EventOf((command.number > 0 ? "add +" : "add ") + std::to_string(command.number), after,
                       WayInName(command.wayIn));
    return EventOf(name, after, WayInName(command.wayIn));
}

std::vector<RunLogEvent> PhaseEnds(const std::string& phaseBefore, const std::string& segmentBefore,
                                   const CountdownModel& after) {
    const std::string now = PhaseName(after);
    if (now == phaseBefore || phaseBefore == "idle") return {};
    RunLogEvent ended = EventOf(phaseBefore + " ended", after, WayInName(WayIn::Clock));
    ended.segment = segmentBefore;
    return {ended};
}

std::string RunLogLine(const std::string& localTime, const RunLogEvent& event) {
    return localTime + "," + CsvField(event.event) + "," + CsvField(event.segment) + "," +
           std::to_string(event.remaining) + "," + CsvField(event.wayIn);
}

}  // namespace tallyglass
