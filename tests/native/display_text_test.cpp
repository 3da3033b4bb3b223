#include <gtest/gtest.h>

#include "render/display_text.h"

namespace {
struct TimeCase {
    int32_t seconds;
    const char* text;
};

TEST(FormatTimeText, FollowsTheThreeFormats) {
    const TimeCase cases[] = {
        {0, "0"},
        {-1, "0"},
        {INT32_MIN, "0"},
        {1, "1"},
        {59, "59"},
        {60, "1:00"},
        {65, "1:05"},
        {599, "9:59"},
        {600, "10:00"},
        {3599, "59:59"},
        {3600, "1:00:00"},
        {3661, "1:01:01"},
        {36000, "10:00:00"},
        {360000, "100:00:00"},
        {INT32_MAX, "596523:14:07"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatTimeText(c.seconds, false, "x"), c.text) << c.seconds;
}

TEST(FormatTimeText, AlertPrefixOnlyOnPositiveTimes) {
    EXPECT_EQ(FormatTimeText(65, true, "Time up"), "Time up 1:05");  // blanks inside stay blanks
    EXPECT_EQ(FormatTimeText(5, true, ""), " 5");
    EXPECT_EQ(FormatTimeText(0, true, "Time up"), "0");
    EXPECT_EQ(FormatTimeText(-7, true, "Time up"), "0");
    EXPECT_EQ(FormatTimeText(3600, true, "\xE6\x97\xB6"), "\xE6\x97\xB6 1:00:00");
}
}  // namespace
