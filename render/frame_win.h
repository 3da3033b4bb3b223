#pragma once
// Painting a frame: the gradient background, the outlined text, and the measurement
// that builds the very same glyph path, so the window fits the glyphs.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "framework/handles_win.h"
#include "render/layout.h"
#include "render/pixel_paint.h"
#include "render/text_outline_win.h"

namespace tallyglass {

// A frame's pixels: premultiplied ARGB, top-down rows, no padding.
struct FramePixels {
    const uint32_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t At(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Integer width and height of the filled glyph outlines laid out at (0, 0).
PixelSize MeasureGlyphs(const std::wstring& text, const TextFace& face, int32_t size);

// One line under the time, at its layout origin: the message to the presenter's, in
// the time's colour (color 0), or a note's in a colour of its own.
struct MessageLine {
    std::wstring text;
    int32_t x = 0, y = 0;
    uint32_t color = 0;  // ARGB; 0: the time's
    bool operator==(const MessageLine& other) const {
        return x == other.x && y == other.y && color == other.color && text == other.text;
    }
};

// Everything one frame of the clock shows.
struct FrameContent {
    std::wstring text;
    std::wstring fontName;
    int32_t fontSize = 0;
    uint32_t color = 0;  // ARGB
    int32_t margin = 0;
    PixelSize size;
    bool background = true;
    float outlineWidth = 2.0f;
    // The lines under the time: notes in their own colours, then the message to the
    // presenter in the time's colour, as the layout fitted them to the screen; with
    // any, the time stands at textX instead of the margin.
    std::vector<MessageLine> message;
    int32_t messageSize = 0;
    int32_t textX = 0;
};
class FrameSurface;
// A frame with nothing kept from the one before: what FramePainter's frames are compared with.
void PaintFrameAnew(FrameSurface& surface, const FrameContent& content);

// Paints the clock's frames, keeping between frames what does not change while the
// text stays the same: the font face while the font name does, the glyph path
// while the text, size and margin do, the measured size likewise, and the
// background's pixels while the window's size and margin do (from the second frame
// of a size on). Into a surface that still holds its last frame, a new text with
// nothing else changed repaints only around the glyphs that differ, as a large
// clock's seconds change one digit or two. Its frames are byte for byte PaintFrameAnew's.
class FramePainter {
public:
    // As MeasureGlyphs.
    PixelSize Measure(const std::wstring& text, const std::wstring& fontName, int32_t size);
    // Into a surface of the content's size: cleared to 0, or holding this painter's
    // last frame. Answers the area that differs from what the surface held.
    FrameArea Paint(FrameSurface& surface, const FrameContent& content, bool holdsLastFrame = false);

private:
    bool CanRepaintTextOnly(const FrameSurface& surface, const FrameContent& content) const;
    FrameArea RepaintTextOnly(FrameSurface& surface, const FrameContent& content);
    void PaintWhole(FrameSurface& surface, const FrameContent& content, bool holdsLastFrame);

    const TextFace& Face(const std::wstring& name);
    const OutlinePath& TextPath(const FrameContent& content);
    void PaintBackground(FrameSurface& surface, const BackgroundGeometry& geometry);

    struct PathKey {
        std::wstring text;
        int32_t size = 0, originX = 0;
        std::vector<MessageLine> message;
        int32_t messageSize = 0;
        bool SameMessage(const PathKey& other) const {
            return messageSize == other.messageSize && message == other.message;
        }
        bool operator==(const PathKey& other) const {
            return size == other.size && originX == other.originX && text == other.text && SameMessage(other);
        }
    };
    std::wstring m_faceName;
    std::optional<TextFace> m_face;
    PathKey m_pathKey;
    std::optional<OutlinePath> m_path;  // of m_face
    // The message's part of m_path, kept apart: it stays while the time changes each second.
    std::optional<OutlinePath> m_messagePath;
    PathKey m_measuredKey;                // originX 0
    std::optional<PixelSize> m_measured;  // of m_face
    std::optional<BackgroundGeometry> m_backgroundGeometry;
    std::vector<uint32_t> m_background;
    std::optional<FrameContent> m_painted;  // the last frame, and its path
    OutlinePath m_paintedPath;
};

// A 32-bit premultiplied-ARGB surface, cleared to 0, selected into a memory DC
// for UpdateLayeredWindow.
class FrameSurface {
public:
    FrameSurface(HDC compatible, int32_t width, int32_t height);
    FrameSurface(const FrameSurface&) = delete;
    FrameSurface& operator=(const FrameSurface&) = delete;
    ~FrameSurface();

    bool Valid() const { return m_bits != nullptr; }
    HDC Dc() const { return m_dc.get(); }
    PixelRows Rows() { return {Bits(), m_width, m_height}; }
    FramePixels Pixels() const { return {static_cast<const uint32_t*>(m_bits), m_width, m_height}; }
    uint32_t* Bits() { return static_cast<uint32_t*>(m_bits); }
    size_t PixelCount() const { return static_cast<size_t>(m_width) * static_cast<size_t>(m_height); }

private:
    int32_t m_width, m_height;
    MemoryDc m_dc;
    GdiBitmap m_bitmap;
    void* m_bits = nullptr;
    std::optional<SelectedObject> m_selection;
};

}  // namespace tallyglass
