#pragma once
// The presenter's orders, from keys, hot keys and the command line, turned into
// engine calls.
#include <cstdint>

#include "countdown/command_line.h"
#include "countdown/countdown_engine.h"

// ToggleClickThrough only flips the model's switch: the window applies it.
enum class ClockAction { Start, Reset, PauseResume, AddMinute, TakeMinute, ToggleClickThrough };

void Perform(CountdownModel& model, EngineHost& host, ClockAction action, uint32_t nowMs);

// In the order of ClockOrders. A length acts as New countdown: it resets and is
// laid out at (m_posLeft, m_posTop), which the caller records first.
void ApplyOrders(CountdownModel& model, EngineHost& host, const ClockOrders& orders, uint32_t nowMs,
                 int32_t localSecondOfDay);
