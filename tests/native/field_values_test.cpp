#include <gtest/gtest.h>

#include "settings/field_values.h"

namespace {
TEST(ParseFieldInt, ReadsAsAtoiDoes) {
    const std::pair<const char*, int32_t> cases[] = {
        {"", 0},
        {"007", 7},
        {"12abc", 12},
        {"  42", 42},
        {"-5", -5},
        {"+8", 8},
        {"abc", 0},
        {"- 5", 0},
        {"\t\n 3", 3},
        {"1 2", 1},
        {"2147483647", INT32_MAX},
        {"2147483648", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"-99999999999999999999", INT32_MIN},
        {"1234567890123456789012345678901234567890", INT32_MAX},
    };
    for (auto [text, value] : cases) EXPECT_EQ(ParseFieldInt(text), value) << text;
}

TEST(TotalSeconds, CarriesAndFallsBackToTen) {
    EXPECT_EQ(TotalSeconds(0, 90, 0), 5400);
    EXPECT_EQ(TotalSeconds(0, 0, 1), 1);
    EXPECT_EQ(TotalSeconds(0, 0, 0), 10);
    EXPECT_EQ(TotalSeconds(0, -1, 30), 10);  // -30
    EXPECT_EQ(TotalSeconds(1, 0, 75), 3675);
    EXPECT_EQ(TotalSeconds(INT32_MAX, INT32_MAX, INT32_MAX), INT32_MAX);  // saturates
    EXPECT_EQ(TotalSeconds(INT32_MIN, 0, 0), 10);
    EXPECT_EQ(TotalSeconds(596523, 14, 8), INT32_MAX);  // one past the top
}

TEST(SplitSeconds, TruncatesTowardZero) {
    auto check = [](int32_t total, int32_t h, int32_t m, int32_t s) {
        const TimeParts p = SplitSeconds(total);
        EXPECT_EQ(p.hours, h) << total;
        EXPECT_EQ(p.minutes, m) << total;
        EXPECT_EQ(p.seconds, s) << total;
    };
    check(5400, 1, 30, 0);
    check(3599, 0, 59, 59);
    check(-90, 0, -1, -30);
    check(INT32_MAX, 596523, 14, 7);
    check(INT32_MIN, -596523, -14, -8);
}

TEST(Corrections, SizesAndLengths) {
    EXPECT_EQ(CorrectFontSize(19), 20);
    EXPECT_EQ(CorrectFontSize(20), 20);
    EXPECT_EQ(CorrectFontSize(-5), 20);
    EXPECT_EQ(CorrectFontSize(300), 300);
    EXPECT_EQ(CorrectLength(0), 10);
    EXPECT_EQ(CorrectLength(-1), 10);
    EXPECT_EQ(CorrectLength(1), 1);
}
}  // namespace
