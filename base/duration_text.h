#pragma once
// Lengths and clock times as typed on the command line.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tallyglass {

// A positive length in seconds: "90" (seconds), "45s", "20m", "1h30m",
// "1h30m15s" (units in that order, each once, any case), "1:30" (m:ss) or
// "1:30:00" (h:mm:ss). Nothing for zero, a value beyond 32 bits or other text.
std::optional<int32_t> ParseDuration(std::string_view text);

constexpr int32_t kSecondsPerDay = 86400;

// How long a span of seconds is, as the clock writes a time: "1:05" (m:ss) or "1:01:40"
// (h:mm:ss); a negative span is written as its size.
std::string SpanText(int64_t seconds);

// A positive length as ParseDuration reads it back and a person writes it: "20m",
// "1h30m", "1m30s", "45s"; nothing for a length that is not positive.
std::string FormatDuration(int32_t seconds);

// "14:30" or "9:05", 24-hour: minutes since midnight.
std::optional<int32_t> ParseClockTime(std::string_view text);

// "09:30" or "9:30:15", 24-hour: seconds since midnight; nothing for other text.
std::optional<int32_t> ParseTimeOfDay(std::string_view text);
// "09:30", or "09:30:15" when the seconds are not 0.
std::string FormatTimeOfDay(int32_t secondOfDay);

// Seconds from the local time of day (seconds since midnight) to the next time
// the clock shows minuteOfDay: 1 to 86400; exactly at that minute, a day.
int32_t SecondsUntil(int32_t minuteOfDay, int32_t localSecondOfDay);

}  // namespace tallyglass
