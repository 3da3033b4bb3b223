#pragma once
// A message that must be seen now: its line blinks on the clock (and the view
// page follows the state's flag) for a few seconds.
#include <cstdint>

#include "clock/countdown_engine.h"

namespace tallyglass {

constexpr uint32_t kBlinkStepMs = 500;
constexpr int32_t kBlinkSteps = 10;  // five seconds of half-second halves

// Starts the blink, or starts it over; without a message nothing changes.
EngineEffects FlashMessage(CountdownModel& model);
// One half second of the blink: the line goes dark or comes back; after the
// last, it stays shown, the timer stops and the viewers hear that it ended.
EngineEffects StepBlink(CountdownModel& model);

}  // namespace tallyglass
