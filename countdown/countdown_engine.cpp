#include "countdown/countdown_engine.h"

#include "countdown/display_selection.h"

EngineState StateOf(const CountdownModel& model) {
    if (!model.m_running) return EngineState::Idle;
    return model.m_inAlert ? EngineState::Alert : EngineState::Counting;
}

void StartCountdown(CountdownModel& model, EngineHost& host) {
    if (model.m_running == 1) return;  // keeps the running timer's rhythm
    model.m_remaining = model.m_countdownSeconds;
    model.m_inAlert = 0;
    model.m_running = 1;
    host.Relayout();
    host.CenterWindow();
    model.m_timerId = host.StartPeriodicTimer();
}

void ResetCountdown(CountdownModel& model, EngineHost& host) {
    model.m_inAlert = 0;
    if (model.m_remaining != 0 && model.m_running == 0) return;
    model.m_running = 0;
    if (model.m_timerId != kNoTimer) {
        host.StopPeriodicTimer(model.m_timerId);
        model.m_timerId = kNoTimer;
    }
    model.m_remaining = model.m_countdownSeconds;
    host.Relayout();
    host.CenterWindow();
}

namespace {
// Overtime counts up until F4: a text that grows a digit gets a wider window
// where the clock stands, so that no glyph is cut off.
void OvertimeTick(CountdownModel& model, EngineHost& host) {
    const size_t before = SelectDisplay(model).text.size();
    if (model.m_remaining > INT32_MIN + 1) --model.m_remaining;
    if (SelectDisplay(model).text.size() > before)
        host.RelayoutInPlace();
    else
        host.PresentFrame();
}
}  // namespace

void OnTimerTick(CountdownModel& model, EngineHost& host) {
    if (model.m_inAlert && model.m_overtime) {
        OvertimeTick(model, host);
        return;
    }
    // Saturate rather than wrap: a phase that can never reach 0 must not overflow.
    if (model.m_remaining > INT32_MIN) --model.m_remaining;
    if (model.m_remaining != 0) {
        host.PresentFrame();
        return;
    }
    if (model.m_inAlert) {
        ResetCountdown(model, host);
        return;
    }
    model.m_inAlert = 1;
    model.m_remaining = model.m_overtime ? 0 : model.m_alertSeconds;
    host.Relayout();
    if (model.m_alertCenter) host.CenterWindow();
    host.PlayAlertSound();
}

bool IsLiveTick(const CountdownModel& model, uint32_t timerId) {
    return model.m_running && timerId != kNoTimer && timerId == model.m_timerId;
}

void ApplyNewCountdown(CountdownModel& model, EngineHost& host, const CountdownValues& values) {
    static_cast<CountdownValues&>(model) = values;
    model.m_remaining = model.m_countdownSeconds;
    ResetCountdown(model, host);
    host.Relayout();
}
