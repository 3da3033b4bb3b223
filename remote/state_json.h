#pragma once
// The clock's state as the network sees it, and the JSON that carries it and
// the orders that come back over a WebSocket.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "command/clock_command.h"

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
};

// control: whether the key that reads it may also order, so that a page knows to show its controls.
std::string StateJson(const ClockSnapshot& snapshot, bool control);
std::string ErrorJson(std::string_view error, std::string_view word = {});

// {"order":"add","seconds":60}, {"order":"set","length":"5m"}, {"order":"until","time":"14:30"},
// {"order":"message","text":"..."}, {"order":"message/clear"}, {"order":"start"}, ...
tallyglass::CommandCheck ParseOrderJson(std::string_view text);
