#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/layout.h"
#include "render/message_fit.h"

using namespace tallyglass;

namespace {
TEST(MarginForSize, TruncatesTheSinglePrecisionProduct) {
    const std::pair<int32_t, int32_t> cases[] = {{10, 3},   {20, 6},   {30, 9}, {33, 9},   {48, 14},
                                                 {100, 30}, {255, 76}, {0, 0},  {-10, -3}, {1, 0}};
    for (auto [size, margin] : cases) EXPECT_EQ(MarginForSize(size), margin) << size;
    EXPECT_GT(MarginForSize(INT32_MAX), 0);  // no overflow at the top
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

// The widest line sits as a single line does; the others are centred over the same
// inner width, each message line its size and a quarter below the one before.
TEST(Layout, MessageLinesCentreUnderTheTimeWithinTheirRoom) {
    const MessageLayout wide = LayOutMessage({200, 70}, {300, 101}, 20, 36, {7680, 4320});
    EXPECT_EQ(wide.window.width, 360);
    EXPECT_EQ(wide.window.height, 70 + 10 + 2 * 45 + 20);
    EXPECT_EQ(wide.textX, 70);
    ASSERT_EQ(wide.lines.size(), 2u);
    EXPECT_EQ(wide.lines[0].x, 20);
    EXPECT_EQ(wide.lines[0].y, 80);
    EXPECT_EQ(wide.lines[1].x, 119);
    EXPECT_EQ(wide.lines[1].y, 125);
    const MessageLayout narrow = LayOutMessage({300, 70}, {101}, 20, 36, {7680, 4320});
    EXPECT_EQ(narrow.textX, 20);
    EXPECT_EQ(narrow.window.height, 70 + 10 + 45 + 20);
    EXPECT_EQ(LayOutMessage({300, 70}, {9000}, 20, 36, {1000, 800}).window.width, 1000);
    EXPECT_EQ(MessageSizeFor(96), 48);
    EXPECT_EQ(MessageSizeFor(1), 1);
    // The room a 1920 x 1040 work area leaves a 300 x 70 time with margin 20 and 36 px lines:
    // 1860 across; 1040 - 70 - 20 - 10 below, two lines at most; a time wider than the area keeps its width.
    // Notes above the message take a line's pitch each (45).
    struct Room {
        PixelSize text, area;
        int32_t width, lines, notes = 0;
    };
    const Room rooms[] = {{{300, 70}, {1920, 1040}, 1860, 2},   {{300, 70}, {1920, 189}, 1860, 1},
                          {{300, 70}, {1920, 144}, 1860, 0},    {{3000, 70}, {1920, 1040}, 3000, 2},
                          {{300, 70}, {1920, 234}, 1860, 1, 1}, {{300, 70}, {1920, 189}, 1860, 0, 1}};
    for (const Room& r : rooms) {
        const MessageRoom room = RoomForMessage(r.text, 20, 36, r.area, r.notes);
        EXPECT_EQ(room.width, r.width) << r.area.height;
        EXPECT_EQ(room.lines, r.lines) << r.area.height;
    }
}

namespace {
// A text's width as a font might give it: W 10, other ASCII 5, a character beyond it 8
// (its UTF-8 lead byte), the rest of a sequence or a stray byte nothing.
struct FakeFont {
    int calls = 0;
    size_t longest = 0;
    int32_t operator()(std::string_view text) {
        ++calls;
        longest = std::max(longest, text.size());
        int32_t width = 0;
        for (const char c : text) {
            const auto byte = static_cast<unsigned char>(c);
            width += c == 'W' ? 10 : byte < 0x80 ? 5 : byte >= 0xC0 ? 8 : 0;
        }
        return width;
    }
};
}  // namespace

// Lines no wider than their room, the last ending in the ellipsis when text is left
// over, a mark never parted from its letter, and few measurements of at most the 200
// characters the network lets through: a whole line each, not one per prefix; with
// glyphs of one width, two a line after the rest's, else no more than binary searches.
TEST(FitMessage, WrapsOnceThenEndsInAnEllipsisWithBoundedMeasuring) {
    const std::string w(300, 'W'), e = "e\xCC\x81", ellipsis = "\xE2\x80\xA6";  // e, a combining acute accent
    const std::string cjk = "\xE4\xB8\x80\xE4\xBA\x8C\xE4\xB8\x89\xE5\x9B\x9B\xE4\xBA\x94";  // five ideographs
    struct Case {
        std::string text;
        int32_t width, maxLines, measurements;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"Wrap up", 100, 2, 1, {"Wrap up"}},
        {"Two minutes please", 60, 2, 6, {"Two minutes", "please"}},
        {"Two minutes please", 68, 1, 6, {"Two minutes" + ellipsis}},
        {w, 95, 2, 6, {w.substr(0, 9), w.substr(0, 8) + ellipsis}},
        {e + e + e + e + e + e, 35, 2, 6, {e + e, e + e + ellipsis}},
        {cjk + cjk, 40, 2, 6, {cjk, cjk}},
        {std::string(100, 'i') + w, 600, 2, 18, {std::string(100, 'i') + w.substr(0, 10), w.substr(0, 59) + ellipsis}},
        {std::string(2000, '\x80'), 95, 2, 1, {std::string(200, '\x80')}},
        {"Wrap up", 100, 0, 0, {}},
    };
    for (const Case& c : cases) {
        FakeFont font;
        const std::vector<std::string> lines =
            FitMessage(c.text, c.width, c.maxLines, [&font](std::string_view text) { return font(text); });
        EXPECT_EQ(lines, c.lines) << c.text.substr(0, 20);
        EXPECT_LE(font.calls, c.measurements) << c.text.substr(0, 20);
        EXPECT_LE(font.longest, 203u) << c.text.substr(0, 20);
    }
}
