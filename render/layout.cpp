#include "render/layout.h"

#include <algorithm>

namespace tallyglass {

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

namespace {
// Half a margin between: the time's glyphs start lower in their box than the smaller message's.
int32_t GapUnderTime(int32_t margin) { return margin / 2; }
int64_t MessageLinePitch(int32_t messageSize) { return int64_t{messageSize} + messageSize / 4; }
}  // namespace

MessageLayout LayOutMessage(PixelSize text, const std::vector<int32_t>& lineWidths, int32_t margin, int32_t messageSize,
                            PixelSize cap) {
    int32_t widest = text.width;
    for (const int32_t width : lineWidths) widest = std::max(widest, width);
    const int32_t gap = GapUnderTime(margin);
    const int64_t pitch = MessageLinePitch(messageSize);
    const int64_t lines = static_cast<int64_t>(lineWidths.size());
    const int64_t height = int64_t{text.height} + (lines > 0 ? gap + pitch * lines : 0);
    MessageLayout layout;
    layout.window = WindowSizeFor({widest, Clamp(height, 0, INT32_MAX)}, margin, cap);
    // Centred as the single line is placed: three margins across, one and a half on the left.
    const int32_t inner = layout.window.width - 3 * margin;
    layout.textX = margin + std::max(0, (inner - text.width) / 2);
    int64_t y = int64_t{text.height} + gap;
    for (const int32_t width : lineWidths) {
        layout.lines.push_back({margin + std::max(0, (inner - width) / 2), Clamp(y, 0, INT32_MAX)});
        y += pitch;
    }
    return layout;
}

MessageRoom RoomForMessage(PixelSize text, int32_t margin, int32_t messageSize, PixelSize workArea,
                           int32_t linesTaken) {
    const int64_t below = int64_t{workArea.height} - text.height - margin - GapUnderTime(margin) -
                          int64_t{std::max(linesTaken, 0)} * MessageLinePitch(messageSize);
    return {
        std::max(text.width, Clamp(int64_t{workArea.width} - 3 * int64_t{margin}, 0, INT32_MAX)),
        static_cast<int32_t>(std::clamp<int64_t>(below / std::max<int64_t>(MessageLinePitch(messageSize), 1), 0, 2))};
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

}  // namespace tallyglass
