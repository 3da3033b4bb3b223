#include "render/stroke.h"

#include <algorithm>
#include <cmath>

namespace tallyglass {

namespace {
// Wider than any outline the clock draws; a wider one would only cost time.
constexpr float kWidestPen = 64.0f;

// The square of the distance from (x, y) to the side from a to b.
float SquaredDistanceToSide(float x, float y, const PathPoint& a, const PathPoint& b) {
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float lengthSquared = dx * dx + dy * dy;
    float along = lengthSquared > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / lengthSquared : 0.0f;
    along = std::clamp(along, 0.0f, 1.0f);
    const float offX = x - (a.x + along * dx), offY = y - (a.y + along * dy);
    return offX * offX + offY * offY;
}

// Points far past any frame are left out, so that whole-number pixel bounds stay in range.
bool Finite(const PathPoint& p) { return std::fabs(p.x) < kFarthestCoordinate && std::fabs(p.y) < kFarthestCoordinate; }

class StrokeMask {
public:
    StrokeMask(float radius, const FrameArea& area) : m_radius(radius), m_mask(area) {}

    void AddSide(const PathPoint& a, const PathPoint& b) {
        const FrameArea& area = m_mask.Area();
        const float reach = m_radius + 0.5f;
        const int32_t left = std::max(area.left, static_cast<int32_t>(std::floor(std::min(a.x, b.x) - reach)));
        const int32_t right = std::min(area.right, static_cast<int32_t>(std::ceil(std::max(a.x, b.x) + reach)) + 1);
        const int32_t top = std::max(area.top, static_cast<int32_t>(std::floor(std::min(a.y, b.y) - reach)));
        const int32_t bottom = std::min(area.bottom, static_cast<int32_t>(std::ceil(std::max(a.y, b.y) + reach)) + 1);
        for (int32_t y = top; y < bottom; ++y) {
            uint16_t* row = m_mask.Row(y) - area.left;
            for (int32_t x = left; x < right; ++x) {
                const float squared = SquaredDistanceToSide(static_cast<float>(x), static_cast<float>(y), a, b);
                if (squared >= reach * reach) continue;
                const float covered = std::min(reach - std::sqrt(squared), 1.0f);
                const auto value = static_cast<uint16_t>(covered * kFullCoverage + 0.5f);
                row[x] = std::max(row[x], value);
            }
        }
    }

    CoverageMask Take() { return std::move(m_mask); }

private:
    float m_radius;
    CoverageMask m_mask;
};

}  // namespace

CoverageMask StrokeCoverage(const OutlinePath& path, float width, const FrameArea& area) {
    const float radius = std::isfinite(width) ? std::clamp(width, 0.0f, kWidestPen) / 2 : 0.0f;
    PointBounds bounds;
    for (const PathPoint& point : path)
        if (Finite(point)) bounds.Add(point);
    if (!bounds.any || radius <= 0) return CoverageMask({});
    // Only the pixels the pen reaches; the rest of the area stays uncovered.
    const float reach = radius + 1;
    StrokeMask stroke(radius, {std::max(area.left, static_cast<int32_t>(std::floor(bounds.left - reach))),
                               std::max(area.top, static_cast<int32_t>(std::floor(bounds.top - reach))),
                               std::min(area.right, static_cast<int32_t>(std::ceil(bounds.right + reach)) + 1),
                               std::min(area.bottom, static_cast<int32_t>(std::ceil(bounds.bottom + reach)) + 1)});
    for (size_t first = 0, end = 0; first < path.size(); first = end) {
        end = first + 1;
        while (end < path.size() && !path[end].figureStart) ++end;
        for (size_t i = first; i < end; ++i) {
            const PathPoint& a = path[i];
            const PathPoint& b = path[i + 1 < end ? i + 1 : first];
            if (Finite(a) && Finite(b)) stroke.AddSide(a, b);
        }
    }
    return stroke.Take();
}

}  // namespace tallyglass
