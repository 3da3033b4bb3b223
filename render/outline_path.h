#pragma once
// Glyph outlines as closed polygons, back to back: what the text engine hands the
// painter, what the rasteriser fills, and what tells two frames' glyphs apart.
#include <algorithm>
#include <cstdint>
#include <vector>

namespace tallyglass {

struct PathPoint {
    float x = 0, y = 0;
    bool figureStart = false;  // the first corner of a closed polygon
    bool operator==(const PathPoint& other) const {
        return x == other.x && y == other.y && figureStart == other.figureStart;
    }
};
// Beyond any frame: coordinates past it are clamped or left out, which keeps the
// rasteriser's whole-number arithmetic in range.
constexpr float kFarthestCoordinate = 1.0e6f;

// Closed polygons, each from a figureStart point to the point before the next; a
// glyph is one or a few.
using OutlinePath = std::vector<PathPoint>;

// The part of a frame that changed or is to be painted: left and top inside, right
// and bottom outside.
struct FrameArea {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool Empty() const { return right <= left || bottom <= top; }
};

// The bounds of some points.
struct PointBounds {
    float left = 0, top = 0, right = 0, bottom = 0;
    bool any = false;
    void Add(const PathPoint& p) {
        if (!any) left = right = p.x, top = bottom = p.y;
        left = std::min(left, p.x), right = std::max(right, p.x);
        top = std::min(top, p.y), bottom = std::max(bottom, p.y);
        any = true;
    }
};

}  // namespace tallyglass
