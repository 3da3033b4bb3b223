#pragma once
// Reading and writing the new-countdown dialog's numbers, and the corrections
// that the dialog and the store apply to lengths and font sizes.
#include <cstdint>
#include <string>
#include <string_view>

namespace tallyglass {

constexpr int32_t kMinFontSize = 20;
constexpr int32_t kFallbackLengthSeconds = 10;

// As atoi reads it: leading white space, an optional sign, digits up to the first
// other character; no digits gives 0. Values beyond 32 bits saturate.
int32_t ParseFieldInt(std::string_view text);
std::string FormatFieldInt(int32_t value);

// hours x 3600 + minutes x 60 + seconds, saturating; a total that is not
// positive becomes 10 seconds.
int32_t TotalSeconds(int32_t hours, int32_t minutes, int32_t seconds);

struct TimeParts {
    int32_t hours, minutes, seconds;
};
// Truncating division: 5400 is 1, 30, 0; -90 is 0, -1, -30.
TimeParts SplitSeconds(int32_t seconds);

int32_t CorrectFontSize(int32_t size);
int32_t CorrectLength(int32_t seconds);
// 10 to 100 percent: below a tenth the clock could not be found again.
int32_t CorrectOpacity(int32_t percent);

}  // namespace tallyglass
