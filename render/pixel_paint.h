#pragma once
// Painting into a frame's pixels: premultiplied ARGB, top-down rows, no padding (a
// DIB section's, as UpdateLayeredWindow takes them).
#include <cstdint>

#include "render/coverage.h"

namespace tallyglass {

struct PixelRows {
    uint32_t* pixels = nullptr;
    int32_t width = 0, height = 0;
    uint32_t* Row(int32_t y) const { return pixels + static_cast<size_t>(y) * static_cast<size_t>(width); }
};

// The colour (ARGB, not premultiplied) laid over the pixels the mask covers, as far as it covers them.
void BlendCoverage(const PixelRows& target, const CoverageMask& mask, uint32_t argb);

struct BackgroundGeometry {
    int32_t width, height, margin;
    bool operator==(const BackgroundGeometry& other) const {
        return width == other.width && height == other.height && margin == other.margin;
    }
};
// The background shown behind the time: opaque, white at the very top to black, and
// dark slate grey at the very bottom; down the left margin a strip that fades in
// from transparent rose to white.
void PaintGradientBackground(const PixelRows& target, const BackgroundGeometry& geometry);

}  // namespace tallyglass
