#pragma once
#include <cstdint>
#include <string>

#include "clock/countdown_model.h"

namespace tallyglass {

struct DisplayChoice {
    std::string text;    // UTF-8
    int32_t size = 0;    // em size in pixels
    uint32_t color = 0;  // ARGB
};

// Seconds since the alert began: the alert counts down from its length, the
// overtime counts up from zero (its m_remaining goes below zero).
int64_t SecondsIntoAlert(const CountdownModel& model);
// The run of show's segment now; none without a show.
const ShowSegment* CurrentSegment(const CountdownModel& model);
// How long the time is over, for the texts that count up after zero (never negative).
int32_t SecondsOver(const CountdownModel& model);
// Counting with no more than the warning's seconds left.
bool InWarning(const CountdownModel& model);

// Which text, size and colour the window shows for the model's current state.
DisplayChoice SelectDisplay(const CountdownModel& model);

}  // namespace tallyglass
