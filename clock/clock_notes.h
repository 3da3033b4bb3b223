#pragma once
// The small lines under the time that tell the presenter where the show stands:
// how far ahead or behind the plan it runs, a segment the schedule left waiting, the
// slide showing and whether the talk keeps pace with the slides' budgets.
#include <cstdint>
#include <string>
#include <vector>

#include "clock/countdown_model.h"

namespace tallyglass {

struct ClockNote {
    std::string text;    // UTF-8
    uint32_t color = 0;  // ARGB, never 0: a note has its own colour, apart from the time's
    bool operator==(const ClockNote& other) const { return color == other.color && text == other.text; }
};

// How late the show runs counts as late only past this: a few seconds either way is on time.
constexpr int32_t kLateAfterSeconds = 30;

std::vector<ClockNote> ClockNotes(const CountdownModel& model);

}  // namespace tallyglass
