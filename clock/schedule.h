#pragma once
// The run of show against the clock on the wall: when each segment is planned to
// start and end (from the planned starts some segments carry, the rest following on),
// and how far ahead or behind the current one is projected to end.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/duration_text.h"
#include "clock/countdown_engine.h"
#include "clock/countdown_model.h"

namespace tallyglass {

struct PlannedSpan {
    int64_t start = 0, end = 0;  // seconds from midnight of the day the plan begins (past 86400 after midnight)
};

struct ShowPlan {
    std::vector<PlannedSpan> spans;  // one per segment; empty when no segment carries a planned start
    // The first segment planned to start before the one before it ends: used as given, and said.
    std::string firstOverlap;
};

// A segment without a planned start follows the one before it; segments before the
// first planned one lead up to it. A planned start is read on the day that puts it
// nearest the end before it, so a show may run past midnight.
ShowPlan PlanShow(const std::vector<ShowSegment>& show);

struct ScheduleNow {
    PlannedSpan current;  // the current segment's plan
    int64_t now = 0;      // the time of day on the plan's days
    int32_t offset = 0;   // projected end minus planned end: late when positive
    int64_t showEnd = 0;  // the last segment's projected end
};

// Where the show stands at localSecondOfDay; none without a plan. The current
// segment is projected to end after what remains (idle: its whole length; in the
// alert or overtime: now).
std::optional<ScheduleNow> ScheduleAt(const CountdownModel& model, const ShowPlan& plan, int32_t localSecondOfDay);

// Each second while the show has a plan: an idle segment past its planned start says
// how late it is (m_lateToStart, drawn beside its name), and with showautostart=schedule
// a segment starts as its planned start arrives, once (a reset after it stays reset).
EngineEffects OnScheduleSecond(CountdownModel& model, int32_t localSecondOfDay, uint32_t nowMs);

// "+2:10" or "−0:45" (a true minus), "0:00" on time.
std::string OffsetText(int32_t seconds);

}  // namespace tallyglass
