#include <gtest/gtest.h>

#include <vector>

#include "render/coverage.h"
#include "render/glyph_changes.h"
#include "render/pixel_paint.h"
#include "render/stroke.h"

using namespace tallyglass;

namespace {
// A rectangle's corners, wound one way or the other; pixel centres sit at whole coordinates.
OutlinePath Rectangle(float left, float top, float right, float bottom, bool reversed = false) {
    OutlinePath r{{left, top, true}, {right, top}, {right, bottom}, {left, bottom}};
    if (reversed) std::swap(r[1], r[3]);
    return r;
}
OutlinePath operator+(OutlinePath a, const OutlinePath& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
int32_t Sum(const CoverageMask& mask) {
    int32_t sum = 0;
    for (int32_t y = mask.Area().top; y < mask.Area().bottom; ++y)
        for (int32_t x = mask.Area().left; x < mask.Area().right; ++x) sum += mask.At(x, y);
    return sum;
}
int32_t At(const CoverageMask& mask, int32_t x, int32_t y) {
    const FrameArea& a = mask.Area();
    return x >= a.left && x < a.right && y >= a.top && y < a.bottom ? mask.At(x, y) : 0;
}
constexpr FrameArea kFrame{0, 0, 20, 20};
}  // namespace

TEST(Coverage, CutsPixelsByAreaAndFillsByTheNonzeroRule) {
    const CoverageMask square = CoverageOf(Rectangle(1.5f, 1.5f, 4.0f, 3.5f), kFrame);
    EXPECT_EQ(At(square, 2, 2), kFullCoverage);
    EXPECT_EQ(At(square, 4, 2), kFullCoverage / 2);  // the edge through the pixel's centre
    EXPECT_EQ(At(square, 1, 2), 0);
    EXPECT_EQ(At(square, 2, 4), 0);
    EXPECT_EQ(Sum(square), 5 * kFullCoverage);  // 2.5 by 2 pixels
    // Overlaps wound alike are covered once; a figure wound against another is a hole.
    const CoverageMask twice =
        CoverageOf(Rectangle(1.5f, 1.5f, 9.5f, 9.5f) + Rectangle(3.5f, 3.5f, 6.5f, 6.5f), kFrame);
    EXPECT_EQ(At(twice, 5, 5), kFullCoverage);
    const CoverageMask ring =
        CoverageOf(Rectangle(1.5f, 1.5f, 9.5f, 9.5f) + Rectangle(3.5f, 3.5f, 6.5f, 6.5f, true), kFrame);
    EXPECT_EQ(At(ring, 5, 5), 0);
    EXPECT_EQ(Sum(ring), (64 - 9) * kFullCoverage);
    // A slanted edge: a triangle of 8 by 4 pixels covers 16 of them.
    const CoverageMask triangle = CoverageOf({{1.5f, 1.5f, true}, {9.5f, 5.5f}, {1.5f, 5.5f}}, kFrame);
    EXPECT_NEAR(Sum(triangle), 16 * kFullCoverage, kFullCoverage / 16);
    // Nothing outside the area, nothing from points far off any frame.
    EXPECT_EQ(Sum(CoverageOf(Rectangle(1.5f, 1.5f, 9.5f, 9.5f), {0, 0, 3, 3})), kFullCoverage);
    EXPECT_EQ(Sum(CoverageOf(Rectangle(-1e30f, 2, 1e30f, 3), {0, 0, 4, 4})), 4 * kFullCoverage);
    EXPECT_EQ(Sum(CoverageOf(Rectangle(1, 1, 3, 3), {-5, -5, -1, -1})), 0);
}

// What a partial repaint rests on: the figures reaching an area give its pixels
// exactly the coverage that the whole path gives them.
TEST(Coverage, OfTheFiguresReachingAnAreaIsTheWholePathsThere) {
    const OutlinePath path = Rectangle(1.5f, 1.5f, 4.5f, 9.5f) + Rectangle(2.5f, 3.5f, 3.5f, 4.5f, true) +
                             Rectangle(11.25f, 2.7f, 16.3f, 8.9f) + Rectangle(6.1f, 12.2f, 17.9f, 13.4f);
    const FrameArea area{10, 0, 20, 10};
    const OutlinePath reaching = FiguresReaching(path, area, 2.0f);
    // The last reaches within the outline and the anti-aliasing's spread of the area.
    EXPECT_EQ(reaching, Rectangle(11.25f, 2.7f, 16.3f, 8.9f) + Rectangle(6.1f, 12.2f, 17.9f, 13.4f));
    const CoverageMask whole = CoverageOf(path, kFrame), part = CoverageOf(reaching, area);
    const CoverageMask wholeStroke = StrokeCoverage(path, 2, kFrame), partStroke = StrokeCoverage(reaching, 2, area);
    for (int32_t y = area.top; y < area.bottom; ++y)
        for (int32_t x = area.left; x < area.right; ++x) {
            EXPECT_EQ(At(part, x, y), At(whole, x, y)) << x << "," << y;
            EXPECT_EQ(At(partStroke, x, y), At(wholeStroke, x, y)) << x << "," << y;
        }
}

TEST(Coverage, OfAStrokeIsARoundPenAlongTheSides) {
    const CoverageMask pen = StrokeCoverage(Rectangle(5, 5, 15, 15), 2.0f, kFrame);
    EXPECT_EQ(At(pen, 10, 5), kFullCoverage);      // on a side
    EXPECT_EQ(At(pen, 10, 4), kFullCoverage / 2);  // its centre a radius out
    EXPECT_EQ(At(pen, 10, 3), 0);
    EXPECT_EQ(At(pen, 10, 10), 0);  // the middle is the fill's
    EXPECT_EQ(At(pen, 4, 4), 351);  // the corner is rounded: 1.5 - sqrt(2) covered
    EXPECT_EQ(Sum(StrokeCoverage(Rectangle(5, 5, 15, 15), 0, kFrame)), 0);
    EXPECT_EQ(Sum(StrokeCoverage(Rectangle(5, 5, 15, 15), -3, kFrame)), 0);
}

TEST(PixelPaint, LaysColourOverPremultipliedAsFarAsCovered) {
    std::vector<uint32_t> pixels{0, 0, 0xFF102030, 0x80404040};
    CoverageMask mask({0, 0, 4, 1});
    const uint16_t covered[] = {kFullCoverage, kFullCoverage / 2, kFullCoverage, kFullCoverage / 2};
    std::copy(std::begin(covered), std::end(covered), mask.Row(0));
    BlendCoverage({pixels.data(), 4, 1}, mask, 0xFFFFFFFF);
    EXPECT_EQ(pixels, (std::vector<uint32_t>{0xFFFFFFFF, 0x80808080, 0xFFFFFFFF, 0xC0A0A0A0}));
    BlendCoverage({pixels.data(), 4, 1}, mask, 0x80FF0000);  // translucent red
    EXPECT_EQ(pixels[0], 0xFFFF7F7Fu);
    for (uint32_t p : pixels)
        for (int shift : {16, 8, 0}) EXPECT_LE(p >> shift & 0xFF, p >> 24) << std::hex << p;
}

TEST(PixelPaint, BackgroundShadesDownwardsWithAStripFadingIn) {
    std::vector<uint32_t> pixels(30 * 100);
    PaintGradientBackground({pixels.data(), 30, 100}, {30, 100, 10});
    const auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y) * 30 + x]; };
    EXPECT_EQ(at(20, 0), 0xFFF2F2F2u);   // near white at the top
    EXPECT_EQ(at(20, 50), 0xFF000000u);  // black through the middle
    EXPECT_EQ(at(20, 99), 0xFF2D4B4Bu);  // dark slate grey at the bottom
    EXPECT_EQ(at(5, 50), 0xFF6C605Bu);   // the strip half-way: rose-white at half strength over black
    EXPECT_EQ(at(5, 99), 0xFFFEFDFDu);
    for (uint32_t p : pixels) ASSERT_EQ(p >> 24, 0xFFu);
}
