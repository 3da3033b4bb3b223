#include "clock/countdown_engine.h"

#include <algorithm>

#include "clock/cue_list.h"
#include "clock/display_selection.h"

namespace tallyglass {

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

void StopTheTimer(CountdownModel& model, EngineEffects& fx) {
    if (model.m_timerId != kNoTimer) {
        fx.stopTimer = model.m_timerId;
        model.m_timerId = kNoTimer;
    }
    fx.armTimer = EngineEffects::Timer::None;  // one asked for in this event is not armed at all
    model.m_oneShotTimer = 0;
}

// The window arms it once the event is decided and puts its id into m_timerId.
void ArmTimer(EngineEffects& fx, EngineEffects::Timer timer, uint32_t delayMs = 0) {
    fx.armTimer = timer;
    fx.oneShotDelayMs = delayMs;
}

using Picture = EngineEffects::Picture;

// Each event's steps; a step may take another's (the end of a segment starts the next).
void StartCountdownIn(CountdownModel& model, EngineEffects& fx, uint32_t nowMs);
void ResetCountdownIn(CountdownModel& model, EngineEffects& fx);

void Begin(CountdownModel& model, EngineEffects& fx, int32_t seconds, uint32_t nowMs) {
    model.m_remaining = seconds;
    model.m_inAlert = 0;
    model.m_running = 1;
    model.m_paused = 0;
    model.m_anchorMs = nowMs;
    model.m_ticksSinceAnchor = 0;
    model.m_elapsed = 0;
    model.m_cueFlash = 0;
    fx.Ask(Picture::LayoutAtPosition);
    fx.center = true;
    ArmTimer(fx, EngineEffects::Timer::Periodic);
}

bool MoveToSegment(CountdownModel& model, EngineEffects& fx, int64_t index) {
    if (index < 0 || index >= static_cast<int64_t>(model.m_show.size())) return false;
    StopTheTimer(model, fx);
    model.m_segment = static_cast<int32_t>(index);
    model.m_countdownSeconds = model.m_show[model.m_segment].seconds;
    model.m_remaining = model.m_countdownSeconds;
    model.m_running = model.m_inAlert = model.m_paused = 0;
    model.m_elapsed = model.m_cueFlash = 0;
    fx.Ask(Picture::LayoutAtPosition);
    fx.center = true;
    return true;
}

// The alert is over (or F4 ends an overtime): a show may go on to its next segment.
void EndSegment(CountdownModel& model, EngineEffects& fx, uint32_t nowMs) {
    ResetCountdownIn(model, fx);
    if (!model.m_showAdvance || !MoveToSegment(model, fx, int64_t{model.m_segment} + 1)) return;
    if (model.m_showAutoStart == kAutoStartNext) StartCountdownIn(model, fx, nowMs);
}

// Time has moved on by `seconds`: one for an on-time tick, more after a stall or
// a sleep. A phase that ends on the way ends once; only the phase the clock
// lands in is shown, sounded and centred.
void Advance(CountdownModel& model, EngineEffects& fx, int64_t seconds, uint32_t nowMs) {
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
                fx.cueSound = true;
            }
        }
    }
    if (model.m_inAlert && seconds > 0) {
        if (!model.m_overtime && model.m_remaining > 0 && seconds >= model.m_remaining)
            return EndSegment(model, fx, nowMs);
        // Overtime's text shows minus the count: INT32_MIN itself has no positive twin.
        model.m_remaining = std::max(Saturated(int64_t{model.m_remaining} - seconds), INT32_MIN + 1);
    }
    if (alertBegins) {
        fx.Ask(Picture::LayoutAtPosition);
        fx.center = fx.center || model.m_alertCenter;
        fx.alertSound = true;
    } else if (SelectDisplay(model).text.size() > widthBefore) {
        // A text that grows a digit (overtime, the elapsed face) gets a wider window
        // where the clock stands, so that no glyph is cut off.
        fx.Ask(Picture::LayoutInPlace);
    } else {
        fx.Ask(Picture::Frame);
    }
}

// Counts every second due by the host's clock that no tick has counted yet.
void CatchUp(CountdownModel& model, EngineEffects& fx, uint32_t nowMs, int32_t earlyMs) {
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
    Advance(model, fx, seconds, nowMs);
}

void Pause(CountdownModel& model, EngineEffects& fx, uint32_t nowMs) {
    // Seconds whose ticks are still queued, or never came (a sleep), count first.
    CatchUp(model, fx, nowMs, /*earlyMs=*/0);
    if (!model.m_running) return;
    const uint32_t secondBegan = model.m_anchorMs + 1000u * model.m_ticksSinceAnchor;
    const auto spent = static_cast<int32_t>(nowMs - secondBegan);  // the clock may wrap
    // A tick that fired early counts nothing spent.
    model.m_spentMs = static_cast<uint32_t>(std::clamp(spent, 0, 999));
    StopTheTimer(model, fx);
    model.m_paused = 1;
    fx.Ask(Picture::Frame);
}

void Resume(CountdownModel& model, EngineEffects& fx, uint32_t nowMs) {
    model.m_paused = 0;
    model.m_anchorMs = nowMs - model.m_spentMs;
    model.m_ticksSinceAnchor = 0;
    ArmTimer(fx, EngineEffects::Timer::OneShot, 1000 - model.m_spentMs);
    model.m_oneShotTimer = 1;
    fx.Ask(Picture::Frame);
}

// After the rest of a resumed second, the periodic timer takes over; it is
// armed before the tick's work so that the work does not delay its rhythm.
void HandOverToPeriodicTimer(CountdownModel& model, EngineEffects& fx) {
    StopTheTimer(model, fx);
    ArmTimer(fx, EngineEffects::Timer::Periodic);
}

int32_t AtLeastOneSecond(int64_t seconds) { return static_cast<int32_t>(std::clamp<int64_t>(seconds, 1, INT32_MAX)); }

void StartCountdownIn(CountdownModel& model, EngineEffects& fx, uint32_t nowMs) {
    if (model.m_paused) Resume(model, fx, nowMs);
    if (model.m_running == 1) return;  // keeps the running timer's rhythm
    Begin(model, fx, model.m_countdownSeconds, nowMs);
}

void ResetCountdownIn(CountdownModel& model, EngineEffects& fx) {
    model.m_inAlert = 0;
    if (model.m_remaining != 0 && model.m_running == 0) return;
    model.m_running = 0;
    model.m_paused = 0;
    StopTheTimer(model, fx);
    model.m_remaining = model.m_countdownSeconds;
    fx.Ask(Picture::LayoutAtPosition);
    fx.center = true;
}

void ResetOrEndSegmentIn(CountdownModel& model, EngineEffects& fx, uint32_t nowMs) {
    if (model.m_running && model.m_inAlert && model.m_overtime && !model.m_show.empty())
        EndSegment(model, fx, nowMs);
    else
        ResetCountdownIn(model, fx);
}

void OnTimerTickIn(CountdownModel& model, EngineEffects& fx, uint32_t nowMs) {
    if (model.m_oneShotTimer) HandOverToPeriodicTimer(model, fx);
    CatchUp(model, fx, nowMs, kEarlyTickMs);
}

void OnWakeIn(CountdownModel& model, EngineEffects& fx, uint32_t nowMs) {
    if (model.m_running && !model.m_paused) CatchUp(model, fx, nowMs, 0);
}

void MoveSegmentIn(CountdownModel& model, EngineEffects& fx, int32_t steps) {
    MoveToSegment(model, fx, int64_t{model.m_segment} + steps);
}

void GoToSegmentIn(CountdownModel& model, EngineEffects& fx, int32_t number) {
    MoveToSegment(model, fx, int64_t{number} - 1);
}

void PauseOrResumeIn(CountdownModel& model, EngineEffects& fx, uint32_t nowMs) {
    if (model.m_paused)
        Resume(model, fx, nowMs);
    else if (model.m_running)
        Pause(model, fx, nowMs);
}

void AdjustTimeIn(CountdownModel& model, EngineEffects& fx, int32_t deltaSeconds) {
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
        fx.Ask(Picture::LayoutInPlace);
    else
        fx.Ask(Picture::Frame);
}

void CountDownFromIn(CountdownModel& model, EngineEffects& fx, int32_t seconds, uint32_t nowMs) {
    StopTheTimer(model, fx);
    Begin(model, fx, AtLeastOneSecond(seconds), nowMs);
}

void ApplyNewCountdownIn(CountdownModel& model, EngineEffects& fx, const CountdownValues& values) {
    static_cast<CountdownValues&>(model) = values;
    model.m_remaining = model.m_countdownSeconds;
    ResetCountdownIn(model, fx);
    fx.Ask(Picture::LayoutAtPosition);
}

// One event's effects, gathered from its steps.
template <typename Step, typename... Args>
EngineEffects EffectsOf(Step step, CountdownModel& model, Args... args) {
    EngineEffects fx;
    step(model, fx, args...);
    return fx;
}
}  // namespace

EngineEffects StartCountdown(CountdownModel& model, uint32_t nowMs) {
    return EffectsOf(StartCountdownIn, model, nowMs);
}
EngineEffects ResetCountdown(CountdownModel& model) { return EffectsOf(ResetCountdownIn, model); }
EngineEffects ResetOrEndSegment(CountdownModel& model, uint32_t nowMs) {
    return EffectsOf(ResetOrEndSegmentIn, model, nowMs);
}
EngineEffects OnTimerTick(CountdownModel& model, uint32_t nowMs) { return EffectsOf(OnTimerTickIn, model, nowMs); }
EngineEffects OnWake(CountdownModel& model, uint32_t nowMs) { return EffectsOf(OnWakeIn, model, nowMs); }
EngineEffects MoveSegment(CountdownModel& model, int32_t steps) { return EffectsOf(MoveSegmentIn, model, steps); }
EngineEffects GoToSegment(CountdownModel& model, int32_t number) { return EffectsOf(GoToSegmentIn, model, number); }
EngineEffects PauseOrResume(CountdownModel& model, uint32_t nowMs) { return EffectsOf(PauseOrResumeIn, model, nowMs); }
EngineEffects AdjustTime(CountdownModel& model, int32_t deltaSeconds) {
    return EffectsOf(AdjustTimeIn, model, deltaSeconds);
}
EngineEffects CountDownFrom(CountdownModel& model, int32_t seconds, uint32_t nowMs) {
    return EffectsOf(CountDownFromIn, model, seconds, nowMs);
}
EngineEffects ApplyNewCountdown(CountdownModel& model, const CountdownValues& values) {
    return EffectsOf(ApplyNewCountdownIn, model, values);
}

bool IsLiveTick(const CountdownModel& model, uint32_t timerId) {
    return model.m_running && timerId != kNoTimer && timerId == model.m_timerId;
}

}  // namespace tallyglass
