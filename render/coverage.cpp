#include "render/coverage.h"

#include <algorithm>
#include <cmath>

namespace tallyglass {

namespace {
constexpr int32_t kSampleRows = 16;    // per pixel
constexpr int32_t kColumnUnits = 256;  // a crossing's x, in these parts of a pixel
constexpr float kCentreOffset = 0.5f;  // pixel centres at whole coordinates

// std::floor, inline: the C runtime's is a call per crossing, and it shows in a frame's cost.
int32_t FloorToInt(float v) {
    const auto truncated = static_cast<int32_t>(v);
    return truncated > v ? truncated - 1 : truncated;
}

struct Edge {
    float top, bottom;  // top < bottom
    float x, slope;     // x at the top, and dx/dy
    int32_t direction;  // +1 downwards, -1 upwards
    int32_t XAt(float y) const {
        // From the top: a steep slope only comes with a short edge, so the error stays small.
        const float at = std::clamp(x + slope * (y - top), -kFarthestCoordinate, kFarthestCoordinate);
        return FloorToInt(at * kColumnUnits + 0.5f);
    }
};

float Clamped(float v) { return std::isfinite(v) ? std::clamp(v, -kFarthestCoordinate, kFarthestCoordinate) : 0.0f; }

void AddEdge(std::vector<Edge>& edges, const PathPoint& from, const PathPoint& to) {
    const float x0 = Clamped(from.x) + kCentreOffset, y0 = Clamped(from.y) + kCentreOffset;
    const float x1 = Clamped(to.x) + kCentreOffset, y1 = Clamped(to.y) + kCentreOffset;
    if (y0 == y1) return;  // a horizontal edge crosses no row of samples
    const bool down = y0 < y1;
    const float top = down ? y0 : y1, bottom = down ? y1 : y0;
    const float slope = (x1 - x0) / (y1 - y0);
    edges.push_back({top, bottom, down ? x0 : x1, slope, down ? 1 : -1});
}

// Every figure closed back to its first corner.
std::vector<Edge> EdgesOf(const OutlinePath& path) {
    std::vector<Edge> edges;
    for (size_t first = 0, end = 0; first < path.size(); first = end) {
        end = first + 1;
        while (end < path.size() && !path[end].figureStart) ++end;
        for (size_t i = first; i + 1 < end; ++i) AddEdge(edges, path[i], path[i + 1]);
        AddEdge(edges, path[end - 1], path[first]);
    }
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.top < b.top; });
    return edges;
}

// One pixel row's sums: the cut ends of spans, and the whole pixels between as steps.
class RowSums {
public:
    RowSums(int32_t left, int32_t right) : m_left(left), m_right(right), m_ends(Width()), m_steps(Width() + 1) {}

    void AddSpan(int64_t from, int64_t to) {
        from = std::max<int64_t>(from, int64_t{m_left} * kColumnUnits);
        to = std::min<int64_t>(to, int64_t{m_right} * kColumnUnits);
        if (to <= from) return;
        const auto first = static_cast<int32_t>(from / kColumnUnits) - m_left;
        const auto last = static_cast<int32_t>(to / kColumnUnits) - m_left;
        if (first == last) {
            m_ends[first] += static_cast<int32_t>(to - from);
            return;
        }
        m_ends[first] += kColumnUnits - static_cast<int32_t>(from % kColumnUnits);
        m_steps[first + 1] += 1;
        m_steps[last] -= 1;
        if (last < Width()) m_ends[last] += static_cast<int32_t>(to % kColumnUnits);
    }

    void MoveInto(uint16_t* row) {
        int32_t whole = 0;
        for (int32_t i = 0; i < Width(); ++i) {
            whole += m_steps[i];
            const int32_t sum = m_ends[i] + whole * kColumnUnits;
            row[i] = static_cast<uint16_t>(std::min(sum, kFullCoverage));
        }
        std::fill(m_ends.begin(), m_ends.end(), 0);
        std::fill(m_steps.begin(), m_steps.end(), 0);
    }

private:
    int32_t Width() const { return m_right - m_left; }
    int32_t m_left, m_right;
    std::vector<int32_t> m_ends, m_steps;
};

// Never left of or above the frame: the sums divide whole numbers, which rounds towards zero.
FrameArea InsideFrame(const FrameArea& area) {
    const FrameArea inside{std::max(area.left, 0), std::max(area.top, 0), area.right, area.bottom};
    return inside.Empty() ? FrameArea{} : inside;
}

struct Crossing {
    int32_t x, direction;
};

// The spans of one row of samples where the winding is not zero.
void AddSampleRow(float y, const std::vector<const Edge*>& active, std::vector<Crossing>& crossings, RowSums& sums) {
    crossings.clear();
    for (const Edge* edge : active) crossings.push_back({edge->XAt(y), edge->direction});
    std::sort(crossings.begin(), crossings.end(), [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
    int32_t winding = 0;
    int64_t spanStart = 0;
    for (const Crossing& crossing : crossings) {
        const int32_t before = winding;
        winding += crossing.direction;
        if (before == 0 && winding != 0) spanStart = crossing.x;
        if (before != 0 && winding == 0) sums.AddSpan(spanStart, crossing.x);
    }
}
}  // namespace

CoverageMask::CoverageMask(const FrameArea& area)
    : m_area(InsideFrame(area)),
      m_values(static_cast<size_t>(m_area.right - m_area.left) * static_cast<size_t>(m_area.bottom - m_area.top)) {}

CoverageMask CoverageOf(const OutlinePath& path, const FrameArea& area) {
    const std::vector<Edge> edges = EdgesOf(path);
    if (edges.empty()) return CoverageMask({});
    // Only the pixels the edges reach; the rest of the area stays uncovered.
    PointBounds bounds;
    for (const Edge& edge : edges) {
        bounds.Add({edge.x, edge.top});
        bounds.Add({edge.x + edge.slope * (edge.bottom - edge.top), edge.bottom});
    }
    CoverageMask mask({std::max(area.left, FloorToInt(bounds.left)), std::max(area.top, FloorToInt(bounds.top)),
                       std::min(area.right, FloorToInt(bounds.right) + 2),
                       std::min(area.bottom, FloorToInt(bounds.bottom) + 2)});
    const FrameArea& a = mask.Area();
    if (a.Empty()) return mask;
    RowSums sums(a.left, a.right);
    std::vector<const Edge*> active;
    std::vector<Crossing> crossings;
    size_t next = 0;
    for (int32_t row = a.top; row < a.bottom; ++row) {
        for (int32_t sample = 0; sample < kSampleRows; ++sample) {
            const float y = static_cast<float>(row) + (static_cast<float>(sample) + 0.5f) / kSampleRows;
            while (next < edges.size() && edges[next].top <= y) active.push_back(&edges[next++]);
            active.erase(std::remove_if(active.begin(), active.end(), [y](const Edge* e) { return e->bottom <= y; }),
                         active.end());
            AddSampleRow(y, active, crossings, sums);
        }
        sums.MoveInto(mask.Row(row));
    }
    return mask;
}

}  // namespace tallyglass
