#pragma once
// How much of each pixel a path covers, by the nonzero rule: the anti-aliasing of
// the clock's glyphs and their outline. Sixteen rows of samples to the pixel, each
// cut exactly across, in whole numbers: a pixel's coverage depends only on the
// figures that reach it, so a frame repainted in part is the very frame painted
// whole.
#include <cstdint>
#include <vector>

#include "render/outline_path.h"

namespace tallyglass {

constexpr int32_t kFullCoverage = 4096;

class CoverageMask {
public:
    explicit CoverageMask(const FrameArea& area);
    const FrameArea& Area() const { return m_area; }
    // 0 to kFullCoverage; x and y within the area.
    int32_t At(int32_t x, int32_t y) const { return m_values[Index(x, y)]; }
    uint16_t* Row(int32_t y) { return m_values.data() + Index(m_area.left, y); }

private:
    size_t Index(int32_t x, int32_t y) const {
        return static_cast<size_t>(y - m_area.top) * static_cast<size_t>(m_area.right - m_area.left) +
               static_cast<size_t>(x - m_area.left);
    }
    FrameArea m_area;
    std::vector<uint16_t> m_values;
};

// The coverage of the area's pixels, in a mask of the part of the area the path can reach. A pixel's centre sits at its
// whole coordinates, as in GDI+'s default, where the clock's layout has always put its glyphs.
CoverageMask CoverageOf(const OutlinePath& path, const FrameArea& area);

}  // namespace tallyglass
