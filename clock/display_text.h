#pragma once
#include <cstdint>
#include <string>

namespace tallyglass {

// h:mm:ss, m:ss or plain seconds; "0" for anything not positive. In the alert
// phase the alert text and one blank come in front of a positive time.
std::string FormatTimeText(int32_t seconds, bool inAlert, const std::string& alertText);

// The alert text, a blank and how long the time is over: "+0:01", "+1:05",
// "+1:00:00". Never shorter than m:ss, so that the sign reads as a time.
std::string FormatOvertimeText(int32_t secondsOver, const std::string& alertText);

// The idle clock's time of day: "09:05" and "14:05", or "9:05 AM" and "2:05 PM"
// where the user's Windows writes times in 12 hours.
std::string FormatTimeOfDay(int32_t minuteOfDay, bool twelveHour);

}  // namespace tallyglass
