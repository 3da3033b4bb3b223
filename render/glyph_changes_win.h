#pragma once
// Which glyph figures changed between two frames' paths, and the area they can
// paint: what lets a large clock repaint one digit instead of the whole frame.
#include <windows.h>

#include <gdiplus.h>

#include <memory>

#include "render/frame_win.h"

namespace tallyglass {

// Whether a point begins a figure (a glyph is one figure or a few).
inline bool IsFigureStart(BYTE type) {
    return (type & Gdiplus::PathPointTypePathTypeMask) == Gdiplus::PathPointTypeStart;
}

// The path's points and types; empty when GDI+ cannot hand them out.
PathPoints PointsOf(const Gdiplus::GraphicsPath& path);

// A curve lies within its points' bounds, so the bounds of the figures that changed,
// widened by the outline and the anti-aliasing, hold every pixel that can differ.
// Empty when nothing changed; the whole frame when either path is empty.
FrameArea ChangedArea(const PathPoints& before, const PathPoints& after, float outlineWidth, PixelSize size);

// The figures that can paint a pixel of the area: those whose points' bounds, widened
// as ChangedArea widens them, reach into it.
std::unique_ptr<Gdiplus::GraphicsPath> FiguresReaching(const PathPoints& path, const FrameArea& area,
                                                       float outlineWidth);

}  // namespace tallyglass
