#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "clock/field_values.h"

using namespace tallyglass;

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
        {"2147483647", INT32_MAX},
        {"2147483648", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"-99999999999999999999", INT32_MIN},
        {"1234567890123456789012345678901234567890", INT32_MAX},
    };
    for (auto [text, value] : cases) EXPECT_EQ(ParseFieldInt(text), value) << text;
}

TEST(TotalSeconds, CarriesFallsBackToTenAndSaturates) {
    EXPECT_EQ(TotalSeconds(0, 90, 0), 5400);
    EXPECT_EQ(TotalSeconds(0, 0, 1), 1);
    EXPECT_EQ(TotalSeconds(0, 0, 0), 10);
    EXPECT_EQ(TotalSeconds(0, -1, 30), 10);  // -30
    EXPECT_EQ(TotalSeconds(1, 0, 75), 3675);
    EXPECT_EQ(TotalSeconds(INT32_MAX, INT32_MAX, INT32_MAX), INT32_MAX);
    EXPECT_EQ(TotalSeconds(INT32_MIN, 0, 0), 10);
    EXPECT_EQ(TotalSeconds(596523, 14, 7), INT32_MAX);  // the top, and one past it
    EXPECT_EQ(TotalSeconds(596523, 14, 8), INT32_MAX);
}

// Each at its limit and on either side of it.
TEST(Corrections, SizesLengthsAndOpacity) {
    const std::vector<int32_t> sizes{CorrectFontSize(19), CorrectFontSize(20), CorrectFontSize(-5),
                                     CorrectFontSize(21)};
    EXPECT_EQ(sizes, (std::vector<int32_t>{20, 20, 20, 21}));
    const std::vector<int32_t> lengths{CorrectLength(0), CorrectLength(-1), CorrectLength(1), CorrectLength(INT32_MIN)};
    EXPECT_EQ(lengths, (std::vector<int32_t>{10, 10, 1, 10}));
    const std::vector<int32_t> opacities{CorrectOpacity(9), CorrectOpacity(10), CorrectOpacity(100),
                                         CorrectOpacity(101), CorrectOpacity(INT32_MIN)};
    EXPECT_EQ(opacities, (std::vector<int32_t>{10, 10, 100, 100, 10}));
}
}  // namespace
