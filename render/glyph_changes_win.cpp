#include "render/glyph_changes_win.h"

#include <algorithm>
#include <cmath>

namespace tallyglass {

namespace {

// The figures (a glyph is one or a few) of one path holding the points [from, to)
// that differ from the other path's, with a removal (from == to) taking the figure it cut.
struct Extent {
    float left = 0, top = 0, right = 0, bottom = 0;
    bool any = false;
    void Add(const Gdiplus::PointF& p) {
        if (!any) left = right = p.X, top = bottom = p.Y;
        left = std::min(left, p.X), right = std::max(right, p.X);
        top = std::min(top, p.Y), bottom = std::max(bottom, p.Y);
        any = true;
    }
};

void AddChangedFigures(const PathPoints& path, size_t from, size_t to, Extent& extent) {
    const size_t count = path.points.size();
    size_t first = std::min(from, count - 1);
    while (first > 0 && !IsFigureStart(path.types[first])) --first;
    size_t end = std::min(std::max(to, from + 1), count);
    while (end < count && !IsFigureStart(path.types[end])) ++end;
    for (size_t i = first; i < end; ++i) extent.Add(path.points[i]);
}

// How far past its points a figure may paint: half the outline, and the anti-aliasing.
int32_t PaintSpread(float outlineWidth) { return static_cast<int32_t>(std::ceil(outlineWidth / 2)) + 2; }

}  // namespace

PathPoints PointsOf(const Gdiplus::GraphicsPath& path) {
    const INT count = path.GetPointCount();
    PathPoints result;
    if (count <= 0) return result;
    result.points.resize(static_cast<size_t>(count));
    result.types.resize(static_cast<size_t>(count));
    if (path.GetPathPoints(result.points.data(), count) != Gdiplus::Ok ||
        path.GetPathTypes(result.types.data(), count) != Gdiplus::Ok)
        return {};
    return result;
}

FrameArea ChangedArea(const PathPoints& before, const PathPoints& after, float outlineWidth, PixelSize size) {
    const FrameArea whole{0, 0, size.width, size.height};
    if (before.points.empty() || after.points.empty()) return whole;
    const auto same = [&](size_t i, size_t j) {
        return before.types[i] == after.types[j] && before.points[i].Equals(after.points[j]);
    };
    const size_t common = std::min(before.points.size(), after.points.size());
    size_t head = 0;
    while (head < common && same(head, head)) ++head;
    if (head == before.points.size() && head == after.points.size()) return {};
    size_t tail = 0;
    while (tail < common - head && same(before.points.size() - 1 - tail, after.points.size() - 1 - tail)) ++tail;
    Extent extent;
    AddChangedFigures(before, head, before.points.size() - tail, extent);
    AddChangedFigures(after, head, after.points.size() - tail, extent);
    const int32_t spread = PaintSpread(outlineWidth);
    return {std::max(0, static_cast<int32_t>(std::floor(extent.left)) - spread),
            std::max(0, static_cast<int32_t>(std::floor(extent.top)) - spread),
            std::min(size.width, static_cast<int32_t>(std::ceil(extent.right)) + spread + 1),
            std::min(size.height, static_cast<int32_t>(std::ceil(extent.bottom)) + spread + 1)};
}

// The others cannot, and cost as much to fill as the ones that do.
std::unique_ptr<Gdiplus::GraphicsPath> FiguresReaching(const PathPoints& path, const FrameArea& area,
                                                       float outlineWidth) {
    const float spread = static_cast<float>(PaintSpread(outlineWidth));
    PathPoints kept;
    for (size_t first = 0, end = 0; first < path.points.size(); first = end) {
        Extent extent;
        end = first;
        do extent.Add(path.points[end++]);
        while (end < path.points.size() && !IsFigureStart(path.types[end]));
        if (extent.right + spread < static_cast<float>(area.left) ||
            extent.left - spread >= static_cast<float>(area.right) ||
            extent.bottom + spread < static_cast<float>(area.top) ||
            extent.top - spread >= static_cast<float>(area.bottom))
            continue;
        kept.points.insert(kept.points.end(), path.points.begin() + first, path.points.begin() + end);
        kept.types.insert(kept.types.end(), path.types.begin() + first, path.types.begin() + end);
    }
    return std::make_unique<Gdiplus::GraphicsPath>(kept.points.data(), kept.types.data(),
                                                   static_cast<INT>(kept.points.size()), Gdiplus::FillModeAlternate);
}

}  // namespace tallyglass
