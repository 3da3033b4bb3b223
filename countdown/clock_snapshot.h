#pragma once
// The state the network is shown, made from the model on the window thread.
#include <cstdint>

#include "countdown/countdown_model.h"
#include "remote/state_json.h"

// unixNowMs: the wall clock now; msToNextTick: how long the second now shown
// still lasts (a paused clock's does not run out).
ClockSnapshot SnapshotOf(const CountdownModel& model, int64_t unixNowMs, int32_t msToNextTick, const char* version);

// How long the second now shown still lasts, from the host's clock and the model's anchor.
int32_t MsToNextTick(const CountdownModel& model, uint32_t nowMs);
