#include "countdown/clock_orders.h"

#include "core/duration_text.h"

void Perform(CountdownModel& model, EngineHost& host, ClockAction action, uint32_t nowMs) {
    switch (action) {
        case ClockAction::Start:
            StartCountdown(model, host, nowMs);
            break;
        case ClockAction::Reset:
            ResetOrEndSegment(model, host, nowMs);
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
        case ClockAction::NextSegment:
        case ClockAction::PreviousSegment:
            MoveSegment(model, host, action == ClockAction::NextSegment ? 1 : -1);
            break;
    }
}

void ApplyOrders(CountdownModel& model, EngineHost& host, const ClockOrders& orders, uint32_t nowMs,
                 int32_t localSecondOfDay) {
    if (orders.reset) ResetOrEndSegment(model, host, nowMs);
    if (orders.segment) GoToSegment(model, host, *orders.segment);
    if (orders.segmentSteps != 0) MoveSegment(model, host, orders.segmentSteps);
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

void ApplyRemoteOrder(CountdownModel& model, EngineHost& host, const RemoteOrder& order, uint32_t nowMs,
                      int32_t localSecondOfDay) {
    using Kind = RemoteOrder::Kind;
    ClockOrders orders;
    switch (order.kind) {
        case Kind::Start:
            return Perform(model, host, ClockAction::Start, nowMs);
        case Kind::Pause:
            return Perform(model, host, ClockAction::PauseResume, nowMs);
        case Kind::Resume:
            if (model.m_paused) Perform(model, host, ClockAction::PauseResume, nowMs);
            return;
        case Kind::Reset:
            return Perform(model, host, ClockAction::Reset, nowMs);
        case Kind::Add:
            orders.addSeconds = order.seconds;
            break;
        case Kind::Set:
            orders.length = order.seconds;
            break;
        case Kind::Until:
            orders.untilMinute = order.seconds;
            break;
        case Kind::Next:
            return Perform(model, host, ClockAction::NextSegment, nowMs);
        case Kind::Previous:
            return Perform(model, host, ClockAction::PreviousSegment, nowMs);
        case Kind::Segment:
            orders.segment = order.seconds;
            break;
        case Kind::Message:
        case Kind::ClearMessage:
            model.m_message = order.kind == Kind::Message ? order.text : std::string();
            return host.RelayoutInPlace();
    }
    ApplyOrders(model, host, orders, nowMs, localSecondOfDay);
}
