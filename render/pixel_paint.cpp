#include "render/pixel_paint.h"

#include <algorithm>

namespace tallyglass {

namespace {
uint32_t Channel(uint32_t argb, int shift) { return argb >> shift & 0xFF; }

// x * y / 255, rounded.
uint32_t Scale255(uint32_t x, uint32_t y) {
    const uint32_t product = x * y + 128;
    return (product + (product >> 8)) >> 8;
}

// Source over, premultiplied; `alpha` is the colour's own times its coverage.
uint32_t Over(uint32_t below, uint32_t argb, uint32_t alpha) {
    const uint32_t keep = 255 - alpha;
    uint32_t out = (alpha + Scale255(Channel(below, 24), keep)) << 24;
    for (int shift : {16, 8, 0})
        out |= (Scale255(Channel(argb, shift), alpha) + Scale255(Channel(below, shift), keep)) << shift;
    return out;
}

uint32_t Mix(uint32_t from, uint32_t to, float t) {
    uint32_t out = 0;
    for (int shift : {24, 16, 8, 0}) {
        const float a = static_cast<float>(Channel(from, shift)), b = static_cast<float>(Channel(to, shift));
        out |= static_cast<uint32_t>(a + (b - a) * t + 0.5f) << shift;
    }
    return out;
}

struct GradientStop {
    float position;
    uint32_t argb;
};

// The colour at t (0 to 1) between stops in order, mixed unpremultiplied.
template <size_t N>
uint32_t ColourAt(const GradientStop (&stops)[N], float t) {
    for (size_t i = 1; i < N; ++i) {
        if (t > stops[i].position && i + 1 < N) continue;
        const float span = stops[i].position - stops[i - 1].position;
        const float along = span > 0 ? std::clamp((t - stops[i - 1].position) / span, 0.0f, 1.0f) : 1.0f;
        return Mix(stops[i - 1].argb, stops[i].argb, along);
    }
    return stops[N - 1].argb;
}

// Each row's colour is taken at its middle.
float RowPosition(int32_t y, int32_t height) { return (static_cast<float>(y) + 0.5f) / static_cast<float>(height); }
}  // namespace

void BlendCoverage(const PixelRows& target, const CoverageMask& mask, uint32_t argb) {
    const FrameArea& area = mask.Area();
    const int32_t right = std::min(area.right, target.width), bottom = std::min(area.bottom, target.height);
    const uint32_t alpha = Channel(argb, 24);
    for (int32_t y = area.top; y < bottom; ++y) {
        uint32_t* row = target.Row(y);
        for (int32_t x = area.left; x < right; ++x) {
            const auto covered = static_cast<uint32_t>(mask.At(x, y));
            if (covered == 0) continue;
            const uint32_t effective = (alpha * covered + kFullCoverage / 2) / kFullCoverage;
            if (effective != 0) row[x] = Over(row[x], argb, effective);
        }
    }
}

void PaintGradientBackground(const PixelRows& target, const BackgroundGeometry& g) {
    static constexpr GradientStop kShade[] = {
        {0.0f, 0xFFFFFFFF}, {0.1f, 0xFF000000}, {0.9f, 0xFF000000}, {1.0f, 0xFF2F4F4F}};
    static constexpr GradientStop kStrip[] = {{0.0f, 0x00AC7C68}, {1.0f, 0xFFFFFFFF}};
    const int32_t width = std::min(g.width, target.width), height = std::min(g.height, target.height);
    const int32_t strip = std::clamp(g.margin, 0, width);
    for (int32_t y = 0; y < height; ++y) {
        uint32_t* row = target.Row(y);
        const float t = RowPosition(y, g.height);
        std::fill(row, row + width, ColourAt(kShade, t));
        const uint32_t stripColour = ColourAt(kStrip, t);
        const uint32_t stripAlpha = Channel(stripColour, 24);
        for (int32_t x = 0; x < strip; ++x) row[x] = Over(row[x], stripColour, stripAlpha);
    }
}

}  // namespace tallyglass
