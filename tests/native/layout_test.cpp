#include <gtest/gtest.h>

#include "render/layout.h"

namespace {
TEST(MarginForSize, TruncatesTheSinglePrecisionProduct) {
    const std::pair<int32_t, int32_t> cases[] = {{10, 3},   {20, 6},   {30, 9}, {33, 9},   {48, 14},
                                                 {100, 30}, {255, 76}, {0, 0},  {-10, -3}, {1, 0}};
    for (auto [size, margin] : cases) EXPECT_EQ(MarginForSize(size), margin) << size;
    // Below 2^23 the float product truncates like the integer quotient 3S/10.
    for (int32_t s = -5000; s <= 5000; ++s) ASSERT_EQ(MarginForSize(s), s * 3 / 10) << s;
    EXPECT_GT(MarginForSize(INT32_MAX), 0);  // no overflow at the top
}

TEST(WindowSizeFor, ThreeMarginsAcrossOneDown) {
    const PixelSize cap{7680, 4320};
    const PixelSize size = WindowSizeFor({200, 50}, 14, cap);
    EXPECT_EQ(size.width, 242);
    EXPECT_EQ(size.height, 64);
    // An empty text still gives a window 3m x m.
    const PixelSize empty = WindowSizeFor({0, 0}, 21, cap);
    EXPECT_EQ(empty.width, 63);
    EXPECT_EQ(empty.height, 21);
}

TEST(WindowSizeFor, IsCappedAndNeverEmpty) {
    const PixelSize cap{1920, 1080};
    const PixelSize huge = WindowSizeFor({INT32_MAX, INT32_MAX}, INT32_MAX, cap);
    EXPECT_EQ(huge.width, 1920);
    EXPECT_EQ(huge.height, 1080);
    const PixelSize zero = WindowSizeFor({0, 0}, 0, cap);
    EXPECT_EQ(zero.width, 1);
    EXPECT_EQ(zero.height, 1);
}

TEST(WindowCap, FollowsTheVirtualScreenWithinBoundsAndCapsTheFont) {
    EXPECT_EQ(WindowCapFor({3840, 1080}).width, 3840);
    EXPECT_EQ(WindowCapFor({30000, 20000}).height, 4320);  // never more than 8K
    EXPECT_EQ(WindowCapFor({0, 0}).width, 640);            // metrics unavailable
    EXPECT_EQ(EffectiveFontSize(100000, WindowCapFor({1920, 1080})), 1080);
}
}  // namespace
