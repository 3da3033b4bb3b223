#pragma once
// Glyph outlines from GDI: the path ExtTextOutW draws, taken in a path bracket at a
// multiple of the size (a GDI path's points are whole device units) and scaled back.
// GDI+'s own AddString needs a GDI+ font family, and GDI+ finds one in its list of
// installed families, which under Wine realises a font of every family installed:
// about a megabyte of font files mapped into the clock, and milliseconds of its
// start-up, for the one family it shows. Under Wine the two outlines agree to a tenth
// of a pixel.
#include <windows.h>
#include <gdiplus.h>

#include <cstdint>
#include <string>

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
void AddTextToPath(Gdiplus::GraphicsPath& path, const std::wstring& text, const TextFace& face, int32_t size,
                   int32_t originX, int32_t originY = 0);

}  // namespace tallyglass
