#pragma once
// The presenter's orders, from keys, hot keys and the command line, turned into
// engine calls.
#include <cstdint>

#include "countdown/command_line.h"
#include "countdown/countdown_engine.h"
#include "remote/remote_order.h"

// ToggleClickThrough only flips the model's switch: the window applies it.
enum class ClockAction {
    Start,
    Reset,
    PauseResume,
    AddMinute,
    TakeMinute,
    ToggleClickThrough,
    NextSegment,
    PreviousSegment
};

void Perform(CountdownModel& model, EngineHost& host, ClockAction action, uint32_t nowMs);

// In the order of ClockOrders. A length acts as New countdown: it resets and is
// laid out at (m_posLeft, m_posTop), which the caller records first.
void ApplyOrders(CountdownModel& model, EngineHost& host, const ClockOrders& orders, uint32_t nowMs,
                 int32_t localSecondOfDay);

// An order from the network, already checked there: the same calls as the key,
// hot key or command-line word that means the same. A message stays through a
// reset and a new length; the window is laid out anew where it stands for it.
void ApplyRemoteOrder(CountdownModel& model, EngineHost& host, const RemoteOrder& order, uint32_t nowMs,
                      int32_t localSecondOfDay);
