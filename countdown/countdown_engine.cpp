#include "countdown/countdown_engine.h"

#include <algorithm>

#include "countdown/cue_list.h"
#include "countdown/display_selection.h"

EngineState StateOf(const CountdownModel& model) {
    if (!model.m_running) return EngineState::Idle;
    return model.m_inAlert ? EngineState::Alert : EngineState::Counting;
}

namespace {
// A timer may fire a little before its second is due; such a tick still counts
// that second. Far more than any timer's jitter, far less than a second.
constexpr int32_t kEarlyTickMs = 200;
constexpr uint32_t kSecondsPerAnchor = 86400;

int32_t Saturated(int64_t value) { return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX)); }

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
    model.m_elapsed = 0;
    model.m_cueFlash = 0;
    host.Relayout();
    host.CenterWindow();
    model.m_timerId = host.StartPeriodicTimer();
}

bool MoveToSegment(CountdownModel& model, EngineHost& host, int64_t index) {
    if (index < 0 || index >= static_cast<int64_t>(model.m_show.size())) return false;
    StopTheTimer(model, host);
    model.m_segment = static_cast<int32_t>(index);
    model.m_countdownSeconds = model.m_show[model.m_segment].seconds;
    model.m_remaining = model.m_countdownSeconds;
    model.m_running = model.m_inAlert = model.m_paused = 0;
    model.m_elapsed = model.m_cueFlash = 0;
    host.Relayout();
    host.CenterWindow();
    return true;
}

// The alert is over (or F4 ends an overtime): a show may go on to its next segment.
void EndSegment(CountdownModel& model, EngineHost& host, uint32_t nowMs) {
    ResetCountdown(model, host);
    if (!model.m_showAdvance || !MoveToSegment(model, host, int64_t{model.m_segment} + 1)) return;
    if (model.m_showAutoStart) StartCountdown(model, host, nowMs);
}

// Time has moved on by `seconds`: one for an on-time tick, more after a stall or
// a sleep. A phase that ends on the way ends once; only the phase the clock
// lands in is shown, sounded and centred.
void Advance(CountdownModel& model, EngineHost& host, int64_t seconds, uint32_t nowMs) {
    const size_t widthBefore = SelectDisplay(model).text.size();
    const int32_t before = model.m_remaining;
    bool alertBegins = false;
    model.m_cueFlash = 0;
    if (!model.m_inAlert) {
        model.m_elapsed =
            Saturated(int64_t{model.m_elapsed} + (before > 0 ? std::min<int64_t>(seconds, before) : seconds));
        // A count of 0 or less (only from a stored length) never meets 0 and never alerts.
        if (before > 0 && seconds >= before) {
            seconds -= before;
            alertBegins = true;
            model.m_inAlert = 1;
            model.m_remaining = model.m_overtime ? 0 : model.m_alertSeconds;
        } else {
            model.m_remaining = Saturated(int64_t{before} - seconds);
            if (CueReached(model.m_cues, before, model.m_remaining)) {
                model.m_cueFlash = 1;
                host.PlayCueSound();
            }
        }
    }
    if (model.m_inAlert && seconds > 0) {
        if (!model.m_overtime && model.m_remaining > 0 && seconds >= model.m_remaining)
            return EndSegment(model, host, nowMs);
        // Overtime's text shows minus the count: INT32_MIN itself has no positive twin.
        model.m_remaining = std::max(Saturated(int64_t{model.m_remaining} - seconds), INT32_MIN + 1);
    }
    if (alertBegins) {
        host.Relayout();
        if (model.m_alertCenter) host.CenterWindow();
        host.PlayAlertSound();
    } else if (SelectDisplay(model).text.size() > widthBefore) {
        // A text that grows a digit (overtime, the elapsed face) gets a wider window
        // where the clock stands, so that no glyph is cut off.
        host.RelayoutInPlace();
    } else {
        host.PresentFrame();
    }
}

// Counts every second due by the host's clock that no tick has counted yet.
void CatchUp(CountdownModel& model, EngineHost& host, uint32_t nowMs, int32_t earlyMs) {
    // Unsigned: the host's clock may wrap; no tick comes before its anchor.
    const int64_t due = (int64_t{nowMs - model.m_anchorMs} + earlyMs) / 1000;
    if (due <= model.m_ticksSinceAnchor) return;  // a tick queued behind one that caught up
    const int64_t seconds = due - model.m_ticksSinceAnchor;
    model.m_ticksSinceAnchor = static_cast<uint32_t>(due);
    // A day on, the anchor moves to the second just counted, so that an overtime
    // left running for weeks never outgrows the host's 32-bit milliseconds.
    if (model.m_ticksSinceAnchor >= kSecondsPerAnchor) {
        model.m_anchorMs += 1000u * model.m_ticksSinceAnchor;
        model.m_ticksSinceAnchor = 0;
    }
    Advance(model, host, seconds, nowMs);
}

void Pause(CountdownModel& model, EngineHost& host, uint32_t nowMs) {
    // Seconds whose ticks are still queued, or never came (a sleep), count first.
    CatchUp(model, host, nowMs, /*earlyMs=*/0);
    if (!model.m_running) return;
    const uint32_t secondBegan = model.m_anchorMs + 1000u * model.m_ticksSinceAnchor;
    const auto spent = static_cast<int32_t>(nowMs - secondBegan);  // the clock may wrap
    // A tick that fired early counts nothing spent.
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

void ResetOrEndSegment(CountdownModel& model, EngineHost& host, uint32_t nowMs) {
    if (model.m_running && model.m_inAlert && model.m_overtime && !model.m_show.empty())
        EndSegment(model, host, nowMs);
    else
        ResetCountdown(model, host);
}

void OnTimerTick(CountdownModel& model, EngineHost& host, uint32_t nowMs) {
    if (model.m_oneShotTimer) HandOverToPeriodicTimer(model, host);
    CatchUp(model, host, nowMs, kEarlyTickMs);
}

void OnWake(CountdownModel& model, EngineHost& host, uint32_t nowMs) {
    if (model.m_running && !model.m_paused) CatchUp(model, host, nowMs, 0);
}

void MoveSegment(CountdownModel& model, EngineHost& host, int32_t steps) {
    MoveToSegment(model, host, int64_t{model.m_segment} + steps);
}

void GoToSegment(CountdownModel& model, EngineHost& host, int32_t number) {
    MoveToSegment(model, host, int64_t{number} - 1);
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
