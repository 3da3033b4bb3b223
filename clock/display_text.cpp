#include "clock/display_text.h"

#include <cstdio>

#include "base/duration_text.h"

namespace tallyglass {

std::string FormatTimeText(int32_t seconds, bool inAlert, const std::string& alertText) {
    if (seconds <= 0) return "0";
    const int32_t h = seconds / 3600;
    const int32_t m = seconds % 3600 / 60;
    const int32_t s = seconds % 60;
    char buffer[32];
    if (h > 0)
        std::snprintf(buffer, sizeof buffer, "%d:%02d:%02d", h, m, s);
    else if (m > 0)
        std::snprintf(buffer, sizeof buffer, "%d:%02d", m, s);
    else
        std::snprintf(buffer, sizeof buffer, "%d", s);
    if (!inAlert) return buffer;
    return alertText + " " + buffer;
}

std::string FormatOvertimeText(int32_t secondsOver, const std::string& alertText) {
    return alertText + " +" + SpanText(secondsOver < 0 ? 0 : secondsOver);
}

std::string FormatTimeOfDay(int32_t minuteOfDay, bool twelveHour) {
    const int32_t minute = (minuteOfDay % 1440 + 1440) % 1440;
    const int32_t h = minute / 60, m = minute % 60;
    char buffer[16];
    if (twelveHour)
        std::snprintf(buffer, sizeof buffer, "%d:%02d %s", (h + 11) % 12 + 1, m, h < 12 ? "AM" : "PM");
    else
        std::snprintf(buffer, sizeof buffer, "%02d:%02d", h, m);
    return buffer;
}

}  // namespace tallyglass
