#include "countdown/countdown_engine.h"

#include <algorithm>

#include "countdown/display_selection.h"

EngineState StateOf(const CountdownModel& model) {
    if (!model.m_running) return EngineState::Idle;
    return model.m_inAlert ? EngineState::Alert : EngineState::Counting;
}

namespace {
void StopTheTimer(CountdownModel& model, EngineHost& host) {
    if (model.m_timerId != kNoTimer) {
        host.StopTimer(model.m_timerId);
        model.m_timerId = kNoTimer;
    }
    model.m_oneShotTimer = 0;
}

void Begin(CountdownModel& model, EngineHost& host, int32_t seconds, uint32_t nowMs) {
    model.m_remaining = seconds;
    model.m_inAlert = 0;
    model.m_running = 1;
    model.m_paused = 0;
    model.m_anchorMs = nowMs;
    model.m_ticksSinceAnchor = 0;
    host.Relayout();
    host.CenterWindow();
    model.m_timerId = host.StartPeriodicTimer();
}

void Pause(CountdownModel& model, EngineHost& host, uint32_t nowMs) {
    const uint32_t secondBegan = model.m_anchorMs + 1000u * model.m_ticksSinceAnchor;
    const auto spent = static_cast<int32_t>(nowMs - secondBegan);  // the clock may wrap
    // A tick that fired early counts nothing spent; one still queued (late)
    // leaves the rest of that second to come after the resume.
    model.m_spentMs = static_cast<uint32_t>(std::clamp(spent, 0, 999));
    StopTheTimer(model, host);
    model.m_paused = 1;
    host.PresentFrame();
}

void Resume(CountdownModel& model, EngineHost& host, uint32_t nowMs) {
    model.m_paused = 0;
    model.m_anchorMs = nowMs - model.m_spentMs;
    model.m_ticksSinceAnchor = 0;
    model.m_timerId = host.StartOneShotTimer(1000 - model.m_spentMs);
    model.m_oneShotTimer = 1;
    host.PresentFrame();
}

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

// After the rest of a resumed second, the periodic timer takes over; it is
// armed before the tick's work so that the work does not delay its rhythm.
void HandOverToPeriodicTimer(CountdownModel& model, EngineHost& host) {
    StopTheTimer(model, host);
    model.m_timerId = host.StartPeriodicTimer();
}

int32_t AtLeastOneSecond(int64_t seconds) { return static_cast<int32_t>(std::clamp<int64_t>(seconds, 1, INT32_MAX)); }
}  // namespace

void StartCountdown(CountdownModel& model, EngineHost& host, uint32_t nowMs) {
    if (model.m_paused) Resume(model, host, nowMs);
    if (model.m_running == 1) return;  // keeps the running timer's rhythm
    Begin(model, host, model.m_countdownSeconds, nowMs);
}

void ResetCountdown(CountdownModel& model, EngineHost& host) {
    model.m_inAlert = 0;
    if (model.m_remaining != 0 && model.m_running == 0) return;
    model.m_running = 0;
    model.m_paused = 0;
    StopTheTimer(model, host);
    model.m_remaining = model.m_countdownSeconds;
    host.Relayout();
    host.CenterWindow();
}

void OnTimerTick(CountdownModel& model, EngineHost& host) {
    if (model.m_oneShotTimer) HandOverToPeriodicTimer(model, host);
    ++model.m_ticksSinceAnchor;
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

void PauseOrResume(CountdownModel& model, EngineHost& host, uint32_t nowMs) {
    if (model.m_paused)
        Resume(model, host, nowMs);
    else if (model.m_running)
        Pause(model, host, nowMs);
}

void AdjustTime(CountdownModel& model, EngineHost& host, int32_t deltaSeconds) {
    const EngineState state = StateOf(model);
    if (state == EngineState::Alert || deltaSeconds == 0) return;
    const size_t before = SelectDisplay(model).text.size();
    if (state == EngineState::Idle) {
        model.m_countdownSeconds = AtLeastOneSecond(int64_t{model.m_countdownSeconds} + deltaSeconds);
        model.m_remaining = model.m_countdownSeconds;
    } else {
        model.m_remaining = AtLeastOneSecond(int64_t{model.m_remaining} + deltaSeconds);
    }
    if (SelectDisplay(model).text.size() != before)
        host.RelayoutInPlace();
    else
        host.PresentFrame();
}

void CountDownFrom(CountdownModel& model, EngineHost& host, int32_t seconds, uint32_t nowMs) {
    StopTheTimer(model, host);
    Begin(model, host, AtLeastOneSecond(seconds), nowMs);
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
