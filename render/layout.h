#pragma once
#include <cstdint>
#include <vector>

namespace tallyglass {

struct PixelSize {
    int32_t width = 0;
    int32_t height = 0;
};

// The horizontal text margin for a font size: size x 0.3f, truncated toward zero.
int32_t MarginForSize(int32_t size);

// The window around a measured text: three margins across, one down, kept
// within [1, cap] so that a huge font cannot ask for an unbounded frame.
PixelSize WindowSizeFor(PixelSize measured, int32_t margin, PixelSize cap);

// The message to the presenter's line under the time: half the time's size.
int32_t MessageSizeFor(int32_t textSize);

// The time and, under it, the message's lines, each centred in a window wide enough
// for the widest; a message line is its em size and a quarter high, the first half a
// margin below the time.
struct LineOrigin {
    int32_t x = 0, y = 0;
};
struct MessageLayout {
    PixelSize window;
    int32_t textX = 0;  // the time's layout origin
    std::vector<LineOrigin> lines;
};
MessageLayout LayOutMessage(PixelSize text, const std::vector<int32_t>& lineWidths, int32_t margin, int32_t messageSize,
                            PixelSize cap);

// The room a work area leaves the message under the time and the notes (linesTaken
// lines of the message's size) already there: how wide its lines may be (never
// narrower than the time) and how many (at most two) fit below, so that the window
// it makes is no larger than the work area.
struct MessageRoom {
    int32_t width = 0;
    int32_t lines = 0;
};
MessageRoom RoomForMessage(PixelSize text, int32_t margin, int32_t messageSize, PixelSize workArea,
                           int32_t linesTaken = 0);

// The largest window the clock will make, whatever the font size: the virtual
// screen, but never more than 8K and never less than a small usable floor.
PixelSize WindowCapFor(PixelSize virtualScreen);

// The em size actually used: never taller than the largest window, since a glyph
// beyond that could not be seen and the text engine is not built for such sizes.
int32_t EffectiveFontSize(int32_t size, PixelSize cap);

// The constant alpha of every frame: 253 at full opacity, as the clock has always
// been drawn, scaled by the opacity in percent.
uint8_t ConstantAlphaFor(int32_t opacityPercent);

}  // namespace tallyglass
