#pragma once
// The state the network is shown, made from the model on the window thread.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "clock/countdown_model.h"

namespace tallyglass {

// Made on the window thread after every change and never changed after: the
// network thread reads it without a lock.
struct ClockSnapshot {
    std::string phase = "idle";  // idle, counting, warning, alert, overtime
    bool paused = false;
    int32_t remaining = 0;  // seconds; negative in overtime
    std::string text;       // UTF-8, as the clock shows it
    uint32_t color = 0;     // ARGB
    int32_t length = 0;
    int32_t alertLength = 0;
    std::optional<int64_t> endsAtMs;  // Unix ms when the count reaches 0; none when idle or paused
    int64_t serverTimeMs = 0;         // Unix ms when the snapshot was made
    std::string message;
    std::string version;
    std::string face = "remaining";  // remaining or elapsed: what the count shows
    int32_t elapsed = 0;             // seconds since the start, as the elapsed face shows them
    // The run of show's current segment (from 1) and the next one's name; 0 and empty without a show.
    std::string segment;
    int32_t segmentNumber = 0;
    int32_t segmentCount = 0;
    std::string nextSegment;
    std::vector<ShowSegment> segments;  // the whole running order, for the control page's list

    // What the pages need to speak and look as the clock does.
    std::string language = "en";  // en or zh: the clock's interface language
    std::string fontName;
    std::string alertText;
    int32_t warnSeconds = 0;           // 0: no warning phase
    std::vector<std::string> presets;  // the ready messages, from messagepresets
    bool flash = false;                // the message's line blinks now
    bool blackout = false;             // the view page shows black

    // The show against the wall clock: none without a planned start in the show.
    std::optional<int64_t> plannedStartMs, plannedEndMs;  // the current segment's, Unix ms
    std::optional<int32_t> offset;                        // seconds late (+) or early (-)
    std::optional<int64_t> showEndsAtMs;                  // when the show is projected to end, Unix ms
    std::vector<std::string> plannedStarts;               // each segment's, "09:30", empty without a plan

    // The slide show, seen through PowerPoint's automation: none while no show runs.
    std::optional<int32_t> slide, slideCount;  // among the slides the show shows, from 1
    std::optional<int32_t> pace;               // seconds behind (+) or ahead (-) of the slides' budgets
};

// unixNowMs: the wall clock now; msToNextTick: how long the second now shown
// still lasts (a paused clock's does not run out).
// localSecondOfDay: the local time of day, for the schedule; -1 when not known.
ClockSnapshot SnapshotOf(const CountdownModel& model, int64_t unixNowMs, int32_t msToNextTick, const char* version,
                         int32_t localSecondOfDay = -1);

// idle, counting, warning, alert or overtime: as the state and the run log name the phase.
const char* PhaseName(const CountdownModel& model);

// How long the second now shown still lasts, from the host's clock and the model's anchor.
int32_t MsToNextTick(const CountdownModel& model, uint32_t nowMs);

}  // namespace tallyglass
