#pragma once
// What a round pen covers along a path's closed figures: the outline drawn around the
// clock's glyphs.
#include "render/coverage.h"
#include "render/outline_path.h"

namespace tallyglass {

// A pen of the given width with round joins, centred on the path: a pixel is covered
// as far as its centre lies within half the width of a side, plus half a pixel,
// the nearest side deciding. Each pixel's coverage depends only on the sides near
// it, as CoverageOf's does.
CoverageMask StrokeCoverage(const OutlinePath& path, float width, const FrameArea& area);

}  // namespace tallyglass
