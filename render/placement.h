#pragma once
// Where a window may stand: on screen, whatever monitors were attached when its
// place was stored.
#include <cstdint>
#include <vector>

namespace tallyglass {

struct ScreenRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    int64_t Width() const { return int64_t{right} - left; }
    int64_t Height() const { return int64_t{bottom} - top; }
};

struct ScreenPoint {
    int32_t x = 0, y = 0;
};

// The window's top-left corner: where asked, when at least a third of the
// window lies on the monitors' work areas; otherwise the nearest work area's
// closest place that holds it (its top-left corner when the window is larger).
// Without any work area the place is kept.
ScreenPoint PlaceOnScreen(const ScreenRect& window, const std::vector<ScreenRect>& workAreas);

// The work area a window stands on: the one holding most of it, else the nearest;
// none without work areas.
const ScreenRect* WorkAreaOf(const ScreenRect& window, const std::vector<ScreenRect>& workAreas);

// The window's top-left corner moved no further than it takes to hold the whole
// window in the area (its top-left corner when the window is larger): a window that
// grows where it stands, for a message, does not run off the screen's edge.
ScreenPoint PlaceWithin(const ScreenRect& window, const ScreenRect& area);

// A size given at 96 DPI, at the given DPI (rounded to the nearest pixel).
int32_t ScaleForDpi(int32_t size, uint32_t dpi);

}  // namespace tallyglass
