#include "countdown/clock_orders.h"

#include "countdown/duration_text.h"

void Perform(CountdownModel& model, EngineHost& host, ClockAction action, uint32_t nowMs) {
    switch (action) {
        case ClockAction::Start:
            StartCountdown(model, host, nowMs);
            break;
        case ClockAction::Reset:
            ResetCountdown(model, host);
            break;
        case ClockAction::PauseResume:
            PauseOrResume(model, host, nowMs);
            break;
        case ClockAction::AddMinute:
            AdjustTime(model, host, 60);
            break;
        case ClockAction::TakeMinute:
            AdjustTime(model, host, -60);
            break;
        case ClockAction::ToggleClickThrough:
            model.m_clickThrough = !model.m_clickThrough;
            break;
    }
}

void ApplyOrders(CountdownModel& model, EngineHost& host, const ClockOrders& orders, uint32_t nowMs,
                 int32_t localSecondOfDay) {
    if (orders.reset) ResetCountdown(model, host);
    if (orders.length) {
        CountdownValues values = ValuesOf(model);
        values.m_countdownSeconds = *orders.length;
        ApplyNewCountdown(model, host, values);
    }
    if (orders.untilMinute)
        CountDownFrom(model, host, SecondsUntil(*orders.untilMinute, localSecondOfDay), nowMs);
    else if (orders.start)
        StartCountdown(model, host, nowMs);
    if (orders.addSeconds != 0) AdjustTime(model, host, orders.addSeconds);
    if (orders.pause) PauseOrResume(model, host, nowMs);
}
