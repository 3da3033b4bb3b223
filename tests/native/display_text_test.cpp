#include <gtest/gtest.h>

#include "clock/display_text.h"

using namespace tallyglass;

namespace {
TEST(FormatTimeText, FollowsTheThreeFormatsWithTheAlertsWordsOnlyBeforeAPositiveTime) {
    struct Case {
        int32_t seconds;
        const char* alertText;  // null: not in the alert
        const char* text;
    };
    const Case cases[] = {
        {0, nullptr, "0"},
        {-1, nullptr, "0"},
        {INT32_MIN, nullptr, "0"},
        {1, nullptr, "1"},
        {59, nullptr, "59"},
        {60, nullptr, "1:00"},
        {65, nullptr, "1:05"},
        {599, nullptr, "9:59"},
        {600, nullptr, "10:00"},
        {3599, nullptr, "59:59"},
        {3600, nullptr, "1:00:00"},
        {3661, nullptr, "1:01:01"},
        {360000, nullptr, "100:00:00"},
        {INT32_MAX, nullptr, "596523:14:07"},
        {65, "Time up", "Time up 1:05"},  // blanks inside stay blanks
        {5, "", " 5"},
        {0, "Time up", "0"},
        {-7, "Time up", "0"},
        {3600, "\xE6\x97\xB6", "\xE6\x97\xB6 1:00:00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatTimeText(c.seconds, c.alertText != nullptr, c.alertText ? c.alertText : "x"), c.text)
            << c.seconds;
}
}  // namespace
