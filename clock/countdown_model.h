#pragma once
// The clock's model in three parts, kept apart from any window so that the
// engine, the display selection and the settings table can be tested natively:
// what the settings give (ClockSettings), the engine's state (ClockState), and
// what the view computed for the frames (ClockLayout).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/ui_language.h"
#include "clock/slide_pace.h"
#include "command/countdown_values.h"
#include "command/slide_show_seen.h"
#include "store/run_of_show.h"

namespace tallyglass {

// A timer id that means "no timer runs"; the multimedia timer never hands it out.
constexpr uint32_t kNoTimer = 0;

// showautostart: 1 starts the next segment as the show moves on; "schedule" starts each
// segment by itself at its planned start.
constexpr int32_t kAutoStartNext = 1, kAutoStartOnSchedule = 2;
// slideshow: off; start: a slide show's beginning starts the count; follow: its end, or
// leaving it for another program for a while, pauses the count too, and its return resumes it.
constexpr int32_t kSlidesOff = 0, kSlidesStart = 1, kSlidesFollow = 2;

// What the settings file gives; the engine changes only the length (a minute
// more while idle, a run of show's segment) and the view only the place.
struct ClockSettings : CountdownValues {
    std::string m_fontName;   // UTF-8
    std::string m_alertText;  // UTF-8
    std::string m_titleText;  // UTF-8
    int32_t m_sizeTitle = 48;
    int32_t m_posLeft = 0;
    int32_t m_posTop = 0;
    uint32_t m_colorNormal = 0xFF000000;
    uint32_t m_colorAlert = 0xFF000000;

    // Phases beyond the alert; each is off at its default.
    int32_t m_warnSeconds = 0;  // > 0: the time is drawn in m_colorWarn from this many seconds left
    uint32_t m_colorWarn = 0xFFFFC000;
    int32_t m_overtime = 0;    // 1: the alert counts up how long the time is over, until F4
    int32_t m_alertFlash = 0;  // 1: the alert's text dims every other second

    // How the window sits among others; each is off at its default.
    int32_t m_opacity = 100;        // percent of every frame's constant alpha
    int32_t m_clickThrough = 0;     // 1: clicks go to the window below
    int32_t m_hideFromCapture = 0;  // 1: kept out of screen capture where the system can
    std::string m_monitorName;      // where it opens and centres: "" where it was, "primary", or a device name

    // A running order from the settings file; empty: none, and the clock is as
    // without one. The current segment's length is m_countdownSeconds.
    std::vector<ShowSegment> m_show;
    int32_t m_showAdvance = 0;        // 1: the end of a segment's alert moves to the next segment
    int32_t m_showAutoStart = 0;      // kAutoStartNext: and starts it; kAutoStartOnSchedule: at its planned start
    std::string m_showAutoStartText;  // "0", "1" or "schedule", as the settings file has it
    int32_t m_scheduleLine = 0;       // 1: a line under the time says how far ahead or behind the plan the show runs

    // Faces and cues; each is off at its default.
    std::string m_faceName;           // "remaining" or "elapsed", as the settings file has it
    int32_t m_elapsedFace = 0;        // 1: the count shows the time since the start instead of the time left
    int32_t m_idleClock = 0;          // 1: idle without a title, the time of day shows
    std::string m_cueText;            // "5m, 1m", as the settings file has it
    std::vector<int32_t> m_cues;      // seconds before the end, from m_cueText
    std::string m_messagePresetText;  // "Wrap up|Five minutes", as the settings file has it

    // The slide show; each is off at its default.
    std::string m_slideShowText;                  // "off", "start" or "follow", as the settings file has it
    int32_t m_slideShowMode = 0;                  // kSlidesOff, kSlidesStart, kSlidesFollow, from m_slideShowText
    int32_t m_slideNumberLine = 0;                // 1: "Slide 12 / 30" under the time
    int32_t m_slidePacingLine = 0;                // 1: "1:20 behind" or "0:30 ahead" under the time
    UiLanguage m_language = UiLanguage::English;  // the words of the lines under the time

    // Hot-key texts such as "Ctrl+Alt+F2"; empty: that hot key is off.
    std::string m_hotKeyStart;
    std::string m_hotKeyReset;
    std::string m_hotKeyPause;
    std::string m_hotKeyPlus;
    std::string m_hotKeyMinus;
    std::string m_hotKeyClickThrough;  // the way back to the menu when clicks pass through
    std::string m_hotKeyNext;
    std::string m_hotKeyPrevious;
};

// The engine's state, and what the window hands it of the world.
struct ClockState {
    std::string m_message;  // UTF-8: the message to the presenter, from the network; empty for none
    int32_t m_running = 0;
    int32_t m_inAlert = 0;
    int32_t m_remaining = 600;
    uint32_t m_timerId = kNoTimer;

    // Pause keeps the part of the second already spent, so that no second is
    // gained or lost: the ticks since the anchor fall on anchor + k x 1000 ms.
    int32_t m_paused = 0;
    uint32_t m_anchorMs = 0;  // the host's milliseconds when the current run of seconds began
    uint32_t m_ticksSinceAnchor = 0;
    uint32_t m_spentMs = 0;      // while paused: milliseconds of the current second already counted
    int32_t m_oneShotTimer = 0;  // 1: m_timerId is the one-shot timer for the rest of a resumed second

    int32_t m_segment = 0;       // index into m_show
    int32_t m_elapsed = 0;       // seconds counted since the start, adjustments aside
    int32_t m_cueFlash = 0;      // 1: the second a cue was reached, drawn dimmed once
    int32_t m_localMinute = -1;  // minutes since local midnight, handed in by the window; -1: not known
    int32_t m_clock12Hour = 0;   // 1: the user's Windows shows times as 2:05 PM

    // What the clock shows only to its viewers, or for a moment.
    int32_t m_flashSteps = 0;                 // > 0: the message's line blinks for this many more half seconds
    int32_t m_messageHidden = 0;              // 1: the blink's dark half, the message's line not drawn
    int32_t m_blackout = 0;                   // 1: the view page shows black
    int32_t m_lateToStart = 0;                // seconds an idle segment is past its planned start; 0: not late
    int32_t m_autoStarted = -1;               // the segment the schedule last started, so that a reset stays reset
    std::optional<int32_t> m_scheduleOffset;  // seconds the show runs late (negative: early); none without a plan
    // What the slide show's watcher saw last, the deck's budget from its notes, and
    // whether the count is paused because the show ended or was left.
    SlideShowSeen m_slideShow;
    SlideDeck m_slideDeck;
    int32_t m_pausedBySlides = 0;
    int32_t m_slideShowAway = 0;    // 1: the show runs, but another program has the foreground
    int32_t m_slideShowLost = 0;    // 1: PowerPoint stopped answering while its show ran (ended or crashed)
    int32_t m_nextLateToStart = 0;  // showautostart=schedule: seconds the next segment is past its planned start
                                    // while this one still runs; 0: not
};

// What the view computed when it last laid the window out; the frames use it.
struct ClockLayout {
    int32_t m_width = 0;
    int32_t m_height = 0;
    int32_t m_margin = 0;
    // Where the layout put the time while there is a message.
    int32_t m_textX = 0;
};

struct CountdownModel : ClockSettings, ClockState, ClockLayout {};

}  // namespace tallyglass
