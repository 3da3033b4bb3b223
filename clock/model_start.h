#pragma once
// The model as the clock opens: the settings read, then what they mean together.
#include <cstdint>
#include <vector>

#include "clock/countdown_model.h"

namespace tallyglass {

// A run of show's first segment sets the length over the stored one; the idle
// clock learns the time of day and how Windows writes it; the count is idle.
void PrepareForStart(CountdownModel& model, std::vector<ShowSegment> show, bool clock12Hour, int32_t localSecondOfDay);

}  // namespace tallyglass
