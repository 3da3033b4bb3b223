#include "render/glyph_changes.h"

#include <algorithm>
#include <cmath>

namespace tallyglass {

namespace {

// The figures of one path holding the points [from, to) that differ from the other
// path's, with a removal (from == to) taking the figure it cut.
void AddChangedFigures(const OutlinePath& path, size_t from, size_t to, PointBounds& bounds) {
    const size_t count = path.size();
    size_t first = std::min(from, count - 1);
    while (first > 0 && !path[first].figureStart) --first;
    size_t end = std::min(std::max(to, from + 1), count);
    while (end < count && !path[end].figureStart) ++end;
    for (size_t i = first; i < end; ++i) bounds.Add(path[i]);
}

// How far past its points a figure may paint: half the outline, and the anti-aliasing.
int32_t PaintSpread(float outlineWidth) { return static_cast<int32_t>(std::ceil(outlineWidth / 2)) + 2; }

}  // namespace

FrameArea ChangedArea(const OutlinePath& before, const OutlinePath& after, float outlineWidth, PixelSize size) {
    const FrameArea whole{0, 0, size.width, size.height};
    if (before.empty() || after.empty()) return whole;
    const size_t common = std::min(before.size(), after.size());
    size_t head = 0;
    while (head < common && before[head] == after[head]) ++head;
    if (head == before.size() && head == after.size()) return {};
    size_t tail = 0;
    while (tail < common - head && before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) ++tail;
    PointBounds bounds;
    AddChangedFigures(before, head, before.size() - tail, bounds);
    AddChangedFigures(after, head, after.size() - tail, bounds);
    const int32_t spread = PaintSpread(outlineWidth);
    return {std::max(0, static_cast<int32_t>(std::floor(bounds.left)) - spread),
            std::max(0, static_cast<int32_t>(std::floor(bounds.top)) - spread),
            std::min(size.width, static_cast<int32_t>(std::ceil(bounds.right)) + spread + 1),
            std::min(size.height, static_cast<int32_t>(std::ceil(bounds.bottom)) + spread + 1)};
}

// The others cannot, and cost as much to fill as the ones that do.
OutlinePath FiguresReaching(const OutlinePath& path, const FrameArea& area, float outlineWidth) {
    const float spread = static_cast<float>(PaintSpread(outlineWidth));
    OutlinePath kept;
    for (size_t first = 0, end = 0; first < path.size(); first = end) {
        PointBounds bounds;
        end = first;
        do bounds.Add(path[end++]);
        while (end < path.size() && !path[end].figureStart);
        if (bounds.right + spread < static_cast<float>(area.left) ||
            bounds.left - spread >= static_cast<float>(area.right) ||
            bounds.bottom + spread < static_cast<float>(area.top) ||
            bounds.top - spread >= static_cast<float>(area.bottom))
            continue;
        kept.insert(kept.end(), path.begin() + static_cast<std::ptrdiff_t>(first),
                    path.begin() + static_cast<std::ptrdiff_t>(end));
    }
    return kept;
}

}  // namespace tallyglass
