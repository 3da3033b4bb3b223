#include "render/frame_win.h"

#include "render/glyph_changes.h"
#include "render/stroke.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tallyglass {

namespace {
constexpr uint32_t kOutlineColor = 0x3E000202;

FrameArea Whole(const FrameContent& content) { return {0, 0, content.size.width, content.size.height}; }

// The outline under the fill, as far as the area goes.
void PaintGlyphs(const PixelRows& target, const OutlinePath& path, const FrameContent& content, uint32_t color,
                 const FrameArea& area) {
    BlendCoverage(target, StrokeCoverage(path, content.outlineWidth, area), kOutlineColor);
    BlendCoverage(target, CoverageOf(path, area), color);
}

void AddMessageText(OutlinePath& path, const FrameContent& content, const TextFace& face) {
    for (const MessageLine& line : content.message)
        if (line.color == 0) AddTextToPath(path, line.text, face, content.messageSize, line.x, line.y);
}

// The notes are few and short: each is painted from a path of its own, after the
// time, in every frame, so that a kept frame is one painted anew.
void PaintNotes(const PixelRows& target, const FrameContent& content, const TextFace& face, const FrameArea& area) {
    for (const MessageLine& line : content.message) {
        if (line.color == 0) continue;
        OutlinePath path;
        AddTextToPath(path, line.text, face, content.messageSize, line.x, line.y);
        PaintGlyphs(target, path, content, line.color, area);
    }
}

// The time's line, and the message's under it when there is one.
void AddFrameText(OutlinePath& path, const FrameContent& content, const TextFace& face) {
    if (content.message.empty()) return AddTextToPath(path, content.text, face, content.fontSize, content.margin);
    AddTextToPath(path, content.text, face, content.fontSize, content.textX);
    AddMessageText(path, content, face);
}
}  // namespace

PixelSize MeasureGlyphs(const std::wstring& text, const TextFace& face, int32_t size) {
    OutlinePath path;
    AddTextToPath(path, text, face, size, 0);
    PointBounds bounds;
    for (const PathPoint& point : path) bounds.Add(point);
    if (!bounds.any) return {0, 0};
    // Whole pixels from the leftmost and topmost, as a path's integer bounds come.
    const auto left = static_cast<int32_t>(std::floor(bounds.left)), top = static_cast<int32_t>(std::floor(bounds.top));
    return {static_cast<int32_t>(std::ceil(bounds.right)) - left, static_cast<int32_t>(std::ceil(bounds.bottom)) - top};
}

void PaintFrameAnew(FrameSurface& surface, const FrameContent& content) {
    const PixelRows target = surface.Rows();
    if (content.background) PaintGradientBackground(target, {content.size.width, content.size.height, content.margin});
    OutlinePath path;
    const TextFace face = TextFaceOrFallback(content.fontName);
    AddFrameText(path, content, face);
    PaintGlyphs(target, path, content, content.color, Whole(content));
    PaintNotes(target, content, face, Whole(content));
}

PixelSize FramePainter::Measure(const std::wstring& text, const std::wstring& fontName, int32_t size) {
    const TextFace& face = Face(fontName);
    const PathKey key{text, size, 0, {}, 0};
    if (!m_measured || !(m_measuredKey == key)) {
        m_measured = MeasureGlyphs(text, face, size);
        m_measuredKey = key;
    }
    return *m_measured;
}

FrameArea FramePainter::Paint(FrameSurface& surface, const FrameContent& content, bool holdsLastFrame) {
    Face(content.fontName);
    TextPath(content);
    FrameArea area = Whole(content);
    if (holdsLastFrame && CanRepaintTextOnly(surface, content))
        area = RepaintTextOnly(surface, content);
    else
        PaintWhole(surface, content, holdsLastFrame);
    m_painted = content;
    m_paintedPath = *m_path;
    return area;
}

bool FramePainter::CanRepaintTextOnly(const FrameSurface& surface, const FrameContent& content) const {
    if (!m_painted || m_paintedPath.empty()) return false;
    const FrameContent& last = *m_painted;
    if (last.fontName != content.fontName || last.fontSize != content.fontSize || last.color != content.color ||
        last.margin != content.margin || last.size.width != content.size.width ||
        last.size.height != content.size.height || last.background != content.background ||
        last.outlineWidth != content.outlineWidth || last.message != content.message ||
        last.messageSize != content.messageSize || last.textX != content.textX)
        return false;
    // The background under the changed glyphs comes from the kept copy.
    return !content.background || m_background.size() == surface.PixelCount();
}

FrameArea FramePainter::RepaintTextOnly(FrameSurface& surface, const FrameContent& content) {
    const FrameArea area = ChangedArea(m_paintedPath, *m_path, content.outlineWidth, content.size);
    if (area.Empty()) return area;
    const auto width = static_cast<size_t>(content.size.width);
    for (int32_t y = area.top; y < area.bottom; ++y) {
        uint32_t* row = surface.Bits() + static_cast<size_t>(y) * width;
        if (content.background)
            std::copy_n(m_background.data() + static_cast<size_t>(y) * width + area.left, area.right - area.left,
                        row + area.left);
        else
            std::fill(row + area.left, row + area.right, 0u);
    }
    // Glyphs that did not change but reach into the area are painted there as before.
    const PixelRows target = surface.Rows();
    PaintGlyphs(target, FiguresReaching(*m_path, area, content.outlineWidth), content, content.color, area);
    PaintNotes(target, content, *m_face, area);
    return area;
}

void FramePainter::PaintWhole(FrameSurface& surface, const FrameContent& content, bool holdsLastFrame) {
    if (holdsLastFrame) std::fill_n(surface.Bits(), surface.PixelCount(), 0u);
    if (content.background) PaintBackground(surface, {content.size.width, content.size.height, content.margin});
    const PixelRows target = surface.Rows();
    PaintGlyphs(target, *m_path, content, content.color, Whole(content));
    PaintNotes(target, content, *m_face, Whole(content));
}

const TextFace& FramePainter::Face(const std::wstring& name) {
    if (!m_face || name != m_faceName) {
        m_face = TextFaceOrFallback(name);
        m_faceName = name;
        m_path.reset();
        m_messagePath.reset();
        m_measured.reset();
    }
    return *m_face;
}

void FramePainter::PaintBackground(FrameSurface& surface, const BackgroundGeometry& geometry) {
    if (m_backgroundGeometry == geometry && m_background.size() == surface.PixelCount()) {
        std::copy(m_background.begin(), m_background.end(), surface.Bits());
        return;
    }
    // Painted on the cleared surface as an uncached frame's is, and kept as it came out
    // once a second frame of the same size shows that frames come: an idle clock,
    // painted once, keeps no copy.
    PaintGradientBackground(surface.Rows(), geometry);
    if (m_backgroundGeometry == geometry)
        m_background.assign(surface.Bits(), surface.Bits() + surface.PixelCount());
    else
        m_background.clear();
    m_backgroundGeometry = geometry;
}

const OutlinePath& FramePainter::TextPath(const FrameContent& content) {
    const bool message = !content.message.empty();
    const PathKey key{content.text, content.fontSize, message ? content.textX : content.margin, content.message,
                      content.messageSize};
    if (!m_path || !(m_pathKey == key)) {
        // The figures in AddFrameText's order, so that a kept frame is one painted anew.
        if (!m_messagePath || !m_pathKey.SameMessage(key)) {
            m_messagePath.emplace();
            AddMessageText(*m_messagePath, content, *m_face);
        }
        m_path.emplace();
        AddTextToPath(*m_path, content.text, *m_face, content.fontSize, key.originX);
        if (message) m_path->insert(m_path->end(), m_messagePath->begin(), m_messagePath->end());
        m_pathKey = key;
    }
    return *m_path;
}

FrameSurface::FrameSurface(HDC compatible, int32_t width, int32_t height)
    : m_width(width), m_height(height), m_dc(CreateCompatibleDC(compatible)) {
    if (!m_dc || width <= 0 || height <= 0) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_bitmap = GdiBitmap(CreateDIBSection(m_dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!m_bitmap || !bits) return;
    m_bits = bits;  // a new DIB section is all zero: fully transparent
    m_selection.emplace(m_dc.get(), m_bitmap.get());
}

FrameSurface::~FrameSurface() {
    m_selection.reset();  // the bitmap leaves the DC before either is deleted
}

}  // namespace tallyglass
