#include "render/layout.h"

#include <algorithm>

namespace {
constexpr PixelSize kMaxCap{7680, 4320};
constexpr PixelSize kMinCap{640, 480};

int32_t Clamp(int64_t value, int32_t low, int32_t high) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, low, high));
}
}  // namespace

int32_t MarginForSize(int32_t size) {
    // Single-precision on purpose: the product of 30 and 0.3f is a hair above 9.
    const float product = static_cast<float>(size) * 0.3f;
    return static_cast<int32_t>(product);
}

PixelSize WindowSizeFor(PixelSize measured, int32_t margin, PixelSize cap) {
    const int64_t width = int64_t{measured.width} + 3 * int64_t{margin};
    const int64_t height = int64_t{measured.height} + int64_t{margin};
    return {Clamp(width, 1, std::max(cap.width, 1)), Clamp(height, 1, std::max(cap.height, 1))};
}

int32_t MessageSizeFor(int32_t textSize) { return std::max(textSize / 2, 1); }

TwoLines LayOutTwoLines(PixelSize text, PixelSize message, int32_t margin, int32_t messageSize, PixelSize cap) {
    const int32_t widest = std::max(text.width, message.width);
    // The time's glyphs start lower in their box than the smaller message's: half a margin between.
    const int32_t gap = margin / 2;
    const int32_t line = Clamp(int64_t{gap} + messageSize + messageSize / 4, 0, INT32_MAX);
    TwoLines lines;
    lines.window = WindowSizeFor({widest, Clamp(int64_t{text.height} + line, 0, INT32_MAX)}, margin, cap);
    // Centred as the single line is placed: three margins across, one and a half on the left.
    const int32_t inner = lines.window.width - 3 * margin;
    lines.textX = margin + std::max(0, (inner - text.width) / 2);
    lines.messageX = margin + std::max(0, (inner - message.width) / 2);
    lines.messageY = text.height + gap;
    return lines;
}

PixelSize WindowCapFor(PixelSize virtualScreen) {
    return {std::clamp(virtualScreen.width, kMinCap.width, kMaxCap.width),
            std::clamp(virtualScreen.height, kMinCap.height, kMaxCap.height)};
}

int32_t EffectiveFontSize(int32_t size, PixelSize cap) { return std::min(size, std::max(cap.height, 1)); }

uint8_t ConstantAlphaFor(int32_t opacityPercent) {
    const int32_t percent = std::clamp(opacityPercent, 0, 100);
    return static_cast<uint8_t>((253 * percent + 50) / 100);
}
