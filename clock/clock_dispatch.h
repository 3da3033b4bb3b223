#pragma once
// The one place a command meets the engine, whichever way it came in.
#include <cstdint>

#include "clock/countdown_engine.h"
#include "command/clock_command.h"

namespace tallyglass {

// The host's clock and the local time of day when the command is applied.
struct CommandTime {
    uint32_t nowMs = 0;
    int32_t localSecondOfDay = 0;
};

// A new length (SetLength, NewCountdown) is laid out at (m_posLeft, m_posTop),
// which the caller records first; a message is laid out where the clock stands
// and stays through a reset and a new length. ToggleClickThrough only flips the
// model's switch: the window applies it. What follows is the window's to do.
// Whether the window records where it stands first: a new length is laid out there,
// as New countdown does. Only the command decides, never the way it came in.
inline bool LaysOutWhereTheClockStands(const ClockCommand& command) {
    return command.kind == CommandKind::SetLength || command.kind == CommandKind::NewCountdown;
}

EngineEffects Dispatch(CountdownModel& model, const ClockCommand& command, const CommandTime& time);

}  // namespace tallyglass
