#pragma once
// The countdown state machine. It decides; the host (the window) draws, moves,
// plays and runs the timer. Every call handles one event whole. Times are the
// host's millisecond clock (it may wrap), handed in.
#include <cstdint>

#include "countdown/countdown_model.h"

enum class EngineState { Idle, Counting, Alert };

class EngineHost {
public:
    // Lays the window out for the current text at (m_posLeft, m_posTop).
    virtual void Relayout() = 0;
    // The same, but where the window stands now: the presenter's place is kept.
    virtual void RelayoutInPlace() = 0;
    virtual void PresentFrame() = 0;
    virtual void CenterWindow() = 0;
    virtual void PlayAlertSound() = 0;
    // A cue before the end: its short sound, whatever the alert's sound switch says.
    virtual void PlayCueSound() = 0;
    // Arms the periodic one-second timer; returns its id, or kNoTimer on failure.
    virtual uint32_t StartPeriodicTimer() = 0;
    // Arms a timer that ticks once, after delayMs; its id, or kNoTimer.
    virtual uint32_t StartOneShotTimer(uint32_t delayMs) = 0;
    virtual void StopTimer(uint32_t timerId) = 0;

protected:
    ~EngineHost() = default;
};

EngineState StateOf(const CountdownModel& model);

// F2: starts from Idle, resumes a paused count, else nothing.
void StartCountdown(CountdownModel& model, EngineHost& host, uint32_t nowMs);
void ResetCountdown(CountdownModel& model, EngineHost& host);
// F4 and the other ways to reset: in a show's overtime it ends the segment as the
// alert's end would (with showadvance, on to the next).
void ResetOrEndSegment(CountdownModel& model, EngineHost& host, uint32_t nowMs);

// A tick of the timer, with the host's clock when it fired. The count follows
// that clock, not the number of ticks: after a stall or a sleep every second due
// is counted at once, and a tick queued behind them counts nothing.
void OnTimerTick(CountdownModel& model, EngineHost& host, uint32_t nowMs);
// The PC woke: the seconds slept show now, and the timer keeps its rhythm.
void OnWake(CountdownModel& model, EngineHost& host, uint32_t nowMs);

// Next (+1) and Previous (-1) in a run of show, and --segment N (from 1): each
// resets to that segment, idle. Past either end, or without a show, nothing.
void MoveSegment(CountdownModel& model, EngineHost& host, int32_t steps);
void GoToSegment(CountdownModel& model, EngineHost& host, int32_t number);

// F3: pauses a running count (Counting or Alert) or resumes a paused one; in
// Idle nothing.
void PauseOrResume(CountdownModel& model, EngineHost& host, uint32_t nowMs);

// Up and Down (60 s) and --add: while Counting (paused or not) the remaining
// time changes, never below 1 s; in Idle the countdown length does, never
// below 1 s; in the alert and overtime nothing.
void AdjustTime(CountdownModel& model, EngineHost& host, int32_t deltaSeconds);

// --until: a count of the given seconds from now, started afresh whatever ran
// before; the stored countdown length stays.
void CountDownFrom(CountdownModel& model, EngineHost& host, int32_t seconds, uint32_t nowMs);

// A tick is posted with the id of the timer that produced it. Ticks of a timer
// that has been stopped (or from before a reset) are stale and must be ignored.
bool IsLiveTick(const CountdownModel& model, uint32_t timerId);
// When the live timer's next second is due on the host's clock: what an on-time tick carries.
inline uint32_t NextTickDueMs(const CountdownModel& model) {
    return model.m_anchorMs + 1000u * (model.m_ticksSinceAnchor + 1);
}

inline CountdownValues ValuesOf(const CountdownModel& model) { return model; }

// A confirmed new countdown: the values copied in, the clock reset to the new
// length, then laid out at (m_posLeft, m_posTop), which the caller recorded
// before the dialog opened.
void ApplyNewCountdown(CountdownModel& model, EngineHost& host, const CountdownValues& values);
