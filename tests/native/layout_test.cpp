#include <gtest/gtest.h>

#include "render/layout.h"

namespace {
TEST(MarginForSize, TruncatesTheSinglePrecisionProduct) {
    const std::pair<int32_t, int32_t> cases[] = {{10, 3},   {20, 6},   {30, 9}, {33, 9},   {48, 14},
                                                 {100, 30}, {255, 76}, {0, 0},  {-10, -3}, {1, 0}};
    for (auto [size, margin] : cases) EXPECT_EQ(MarginForSize(size), margin) << size;
    EXPECT_GT(MarginForSize(INT32_MAX), 0);  // no overflow at the top
}

// Three margins across and one down, an empty text included; capped, never empty.
TEST(WindowSizeFor, ThreeMarginsAcrossOneDownWithinTheCap) {
    struct Case {
        PixelSize measured;
        int32_t margin;
        PixelSize cap, size;
    };
    const Case cases[] = {{{200, 50}, 14, {7680, 4320}, {242, 64}},
                          {{0, 0}, 21, {7680, 4320}, {63, 21}},
                          {{INT32_MAX, INT32_MAX}, INT32_MAX, {1920, 1080}, {1920, 1080}},
                          {{0, 0}, 0, {1920, 1080}, {1, 1}}};
    for (const Case& c : cases) {
        const PixelSize size = WindowSizeFor(c.measured, c.margin, c.cap);
        EXPECT_EQ(size.width, c.size.width) << c.measured.width << " + " << c.margin;
        EXPECT_EQ(size.height, c.size.height) << c.measured.height << " + " << c.margin;
    }
}

TEST(WindowCap, FollowsTheVirtualScreenWithinBoundsAndCapsTheFont) {
    EXPECT_EQ(WindowCapFor({3840, 1080}).width, 3840);
    EXPECT_EQ(WindowCapFor({30000, 20000}).height, 4320);  // never more than 8K
    EXPECT_EQ(WindowCapFor({0, 0}).width, 640);            // metrics unavailable
    EXPECT_EQ(WindowCapFor({7681, 479}).height, 480);
    EXPECT_EQ(EffectiveFontSize(100000, WindowCapFor({1920, 1080})), 1080);
    EXPECT_EQ(EffectiveFontSize(1080, WindowCapFor({1920, 1080})), 1080);
}

TEST(ConstantAlpha, Is253AtFullOpacityAndScalesWithIt) {
    const std::pair<int32_t, int32_t> cases[] = {{100, 253}, {50, 127}, {10, 25}, {0, 0}, {101, 253}, {-1, 0}};
    for (auto [percent, alpha] : cases) EXPECT_EQ(ConstantAlphaFor(percent), alpha) << percent;
}
}  // namespace

// The wider line sits as a single line does; the other is centred over the same inner width.
TEST(Layout, TwoLinesCentreTheNarrowerUnderTheWider) {
    const TwoLines wideMessage = LayOutTwoLines({200, 70}, {300, 30}, 20, 36, {7680, 4320});
    EXPECT_EQ(wideMessage.window.width, 360);
    EXPECT_EQ(wideMessage.window.height, 70 + 10 + 45 + 20);
    EXPECT_EQ(wideMessage.messageX, 20);
    EXPECT_EQ(wideMessage.textX, 70);
    EXPECT_EQ(wideMessage.messageY, 80);
    const TwoLines narrowMessage = LayOutTwoLines({300, 70}, {101, 30}, 20, 36, {7680, 4320});
    EXPECT_EQ(narrowMessage.textX, 20);
    EXPECT_EQ(narrowMessage.messageX, 119);
    EXPECT_EQ(LayOutTwoLines({300, 70}, {9000, 30}, 20, 36, {1000, 800}).window.width, 1000);
    EXPECT_EQ(MessageSizeFor(96), 48);
    EXPECT_EQ(MessageSizeFor(1), 1);
}
