#include "render/placement.h"

#include <algorithm>

namespace tallyglass {

namespace {
int64_t OverlapArea(const ScreenRect& a, const ScreenRect& b) {
    const int64_t width = std::min<int64_t>(a.right, b.right) - std::max<int64_t>(a.left, b.left);
    const int64_t height = std::min<int64_t>(a.bottom, b.bottom) - std::max<int64_t>(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

// Squared distance from the window's centre to the nearest point of the area.
int64_t DistanceSquared(const ScreenRect& window, const ScreenRect& area) {
    const int64_t cx = (int64_t{window.left} + window.right) / 2;
    const int64_t cy = (int64_t{window.top} + window.bottom) / 2;
    const int64_t dx = cx < area.left ? area.left - cx : (cx > area.right ? cx - area.right : 0);
    const int64_t dy = cy < area.top ? area.top - cy : (cy > area.bottom ? cy - area.bottom : 0);
    return dx * dx + dy * dy;
}

int32_t Fit(int32_t start, int64_t length, int32_t low, int32_t high) {
    const int64_t latest = int64_t{high} - length;
    return static_cast<int32_t>(std::max<int64_t>(low, std::min<int64_t>(start, latest)));
}
}  // namespace

ScreenPoint PlaceOnScreen(const ScreenRect& window, const std::vector<ScreenRect>& workAreas) {
    const ScreenPoint asked{window.left, window.top};
    if (workAreas.empty()) return asked;
    int64_t visible = 0;
    for (const ScreenRect& area : workAreas) visible += OverlapArea(window, area);
    if (visible * 3 >= window.Width() * window.Height()) return asked;
    return PlaceWithin(window, *std::min_element(workAreas.begin(), workAreas.end(), [&](const auto& a, const auto& b) {
                           return DistanceSquared(window, a) < DistanceSquared(window, b);
                       }));
}

const ScreenRect* WorkAreaOf(const ScreenRect& window, const std::vector<ScreenRect>& workAreas) {
    const auto better = [&](const ScreenRect& a, const ScreenRect& b) {
        const int64_t overlapA = OverlapArea(window, a), overlapB = OverlapArea(window, b);
        return overlapA != overlapB ? overlapA > overlapB : DistanceSquared(window, a) < DistanceSquared(window, b);
    };
    const auto best = std::min_element(workAreas.begin(), workAreas.end(), better);
    return best == workAreas.end() ? nullptr : &*best;
}

ScreenPoint PlaceWithin(const ScreenRect& window, const ScreenRect& area) {
    return {Fit(window.left, window.Width(), area.left, area.right),
            Fit(window.top, window.Height(), area.top, area.bottom)};
}

int32_t ScaleForDpi(int32_t size, uint32_t dpi) {
    if (dpi == 0 || dpi == 96) return size;
    const int64_t product = int64_t{size} * dpi;
    const int64_t scaled = (product >= 0 ? product + 48 : product - 48) / 96;  // halves away from zero
    return static_cast<int32_t>(std::clamp<int64_t>(scaled, INT32_MIN, INT32_MAX));
}

}  // namespace tallyglass
