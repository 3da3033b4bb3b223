#pragma once
// The countdown state machine. It decides and returns what follows; the window
// draws, moves, plays and runs the timers. Every call handles one event whole.
// Times are the host's millisecond clock (it may wrap), handed in.
#include <cstdint>

#include "clock/countdown_model.h"

namespace tallyglass {

enum class EngineState { Idle, Counting, Alert };

// What follows an event, for the window to do once the engine has decided:
// timers first (so that a tick's work never delays the next tick), then the
// picture, centring and sound, then one state for every viewer.
struct EngineEffects {
    // The strongest asked for wins: a layout at (m_posLeft, m_posTop) also draws,
    // as a layout where the window stands does.
    enum class Picture { None, Frame, LayoutInPlace, LayoutAtPosition };
    enum class Timer { None, Periodic, OneShot };

    Picture picture = Picture::None;
    bool center = false;
    bool alertSound = false;
    bool cueSound = false;  // a cue before the end: its short sound, whatever the alert's sound switch says
    uint32_t stopTimer = kNoTimer;
    // Armed after the stop; its id goes into m_timerId (kNoTimer when it failed).
    Timer armTimer = Timer::None;
    uint32_t oneShotDelayMs = 0;
    // The message's blink runs on a timer of its own, every kBlinkStepMs.
    enum class Blink { None, Arm, Stop };
    Blink blink = Blink::None;
    // A slide show left for another program: a one-shot of kSlideShowAwayMs, stopped when it comes back.
    enum class SlideAway { None, Arm, Stop };
    SlideAway slideAway = SlideAway::None;
    bool viewersSee = false;  // a change only the network's viewers see (a blackout, a blink's start and end)
    // What new settings ask the window to set up again besides the picture.
    enum Redo : uint32_t {
        kRedoHotKeys = 1,
        kRedoRemote = 2,
        kRedoWindow = 4,
        kRedoMonitor = 8,
        kRedoMinuteTimer = 16,
        kRedoSchedule = 32,
        kRedoSlides = 64
    };
    uint32_t redo = 0;

    void Ask(Picture wanted) { picture = wanted > picture ? wanted : picture; }
    // A later event's picture, centring and sounds joined to these, for a batch
    // drawn once; each event's timers are the window's to apply as it comes.
    void Join(const EngineEffects& later) {
        Ask(later.picture);
        center = center || later.center;
        alertSound = alertSound || later.alertSound;
        cueSound = cueSound || later.cueSound;
        viewersSee = viewersSee || later.viewersSee;
        redo |= later.redo;
    }
    bool Changed() const {
        return picture != Picture::None || stopTimer != kNoTimer || armTimer != Timer::None || viewersSee || redo ||
               slideAway != SlideAway::None;
    }
};

EngineState StateOf(const CountdownModel& model);

// F2: starts from Idle, resumes a paused count, else nothing.
EngineEffects StartCountdown(CountdownModel& model, uint32_t nowMs);
EngineEffects ResetCountdown(CountdownModel& model);
// F4 and the other ways to reset: in a show's overtime it ends the segment as the
// alert's end would (with showadvance, on to the next).
EngineEffects ResetOrEndSegment(CountdownModel& model, uint32_t nowMs);

// A tick of the timer, with the host's clock when it fired. The count follows
// that clock, not the number of ticks: after a stall or a sleep every second due
// is counted at once, and a tick queued behind them counts nothing.
EngineEffects OnTimerTick(CountdownModel& model, uint32_t nowMs);
// The PC woke: the seconds slept show now, and the timer keeps its rhythm.
EngineEffects OnWake(CountdownModel& model, uint32_t nowMs);

// Next (+1) and Previous (-1) in a run of show, and --segment N (from 1): each
// resets to that segment, idle. Past either end, or without a show, nothing.
EngineEffects MoveSegment(CountdownModel& model, int32_t steps);
EngineEffects GoToSegment(CountdownModel& model, int32_t number);

// F3: pauses a running count (Counting or Alert) or resumes a paused one; in
// Idle nothing.
EngineEffects PauseOrResume(CountdownModel& model, uint32_t nowMs);

// Up and Down (60 s) and --add: while Counting (paused or not) the remaining
// time changes, never below 1 s; in Idle the countdown length does, never
// below 1 s; in the alert and overtime nothing.
EngineEffects AdjustTime(CountdownModel& model, int32_t deltaSeconds);

// --until: a count of the given seconds from now, started afresh whatever ran
// before; the stored countdown length stays.
EngineEffects CountDownFrom(CountdownModel& model, int32_t seconds, uint32_t nowMs);

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
EngineEffects ApplyNewCountdown(CountdownModel& model, const CountdownValues& values);

}  // namespace tallyglass
