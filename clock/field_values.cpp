#include "clock/field_values.h"

#include <algorithm>
#include <cstdint>

namespace tallyglass {

int32_t ParseFieldInt(std::string_view text) {
    size_t i = 0;
    auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (i < text.size() && isSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t magnitude = 0;
    constexpr int64_t kLimit = int64_t{INT32_MAX} + 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        magnitude = std::min(kLimit, magnitude * 10 + (text[i] - '0'));
    const int64_t value = negative ? -magnitude : magnitude;
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

std::string FormatFieldInt(int32_t value) { return std::to_string(value); }

int32_t TotalSeconds(int32_t hours, int32_t minutes, int32_t seconds) {
    const int64_t total = int64_t{hours} * 3600 + int64_t{minutes} * 60 + int64_t{seconds};
    if (total <= 0) return kFallbackLengthSeconds;
    return static_cast<int32_t>(std::min<int64_t>(total, INT32_MAX));
}

TimeParts SplitSeconds(int32_t seconds) { return {seconds / 3600, seconds % 3600 / 60, seconds % 3600 % 60}; }

int32_t CorrectFontSize(int32_t size) { return size < kMinFontSize ? kMinFontSize : size; }

int32_t CorrectLength(int32_t seconds) { return seconds <= 0 ? kFallbackLengthSeconds : seconds; }

int32_t CorrectOpacity(int32_t percent) { return std::clamp(percent, 10, 100); }

}  // namespace tallyglass
