#pragma once
// Which glyph figures changed between two frames' paths, and the area they can
// paint: what lets a large clock repaint one digit instead of the whole frame.
#include "render/layout.h"
#include "render/outline_path.h"

namespace tallyglass {

// A figure lies within its points' bounds, so the bounds of the figures that changed,
// widened by the outline and the anti-aliasing, hold every pixel that can differ.
// Empty when nothing changed; the whole frame when either path is empty.
FrameArea ChangedArea(const OutlinePath& before, const OutlinePath& after, float outlineWidth, PixelSize size);

// The figures that can paint a pixel of the area: those whose points' bounds, widened
// as ChangedArea widens them, reach into it.
OutlinePath FiguresReaching(const OutlinePath& path, const FrameArea& area, float outlineWidth);

}  // namespace tallyglass
