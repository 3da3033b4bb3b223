#pragma once
// Glyph outlines from GDI: the path ExtTextOutW draws, taken in a path bracket at a
// multiple of the size (a GDI path's points are whole device units), flattened into
// polygons and scaled back. GDI is loaded by every window; the clock paints its
// frames itself, so no drawing library's load and start stand between the start and
// the first frame.
#include <windows.h>

#include <cstdint>
#include <string>

#include "render/outline_path.h"

namespace tallyglass {

// An installed font family with outlines, by the name GDI selects it by.
struct TextFace {
    std::wstring name;
};

// The named family, or a sans-serif one when that is not installed (so that a
// mistyped font name still shows the time): Microsoft Sans Serif, DejaVu Sans,
// Liberation Sans, Tahoma or Arial, else the first family with outlines.
TextFace TextFaceOrFallback(const std::wstring& name);

// The text's glyph outlines at `size` pixels to the em, the line's top left at the origin.
void AddTextToPath(OutlinePath& path, const std::wstring& text, const TextFace& face, int32_t size, int32_t originX,
                   int32_t originY = 0);

}  // namespace tallyglass
