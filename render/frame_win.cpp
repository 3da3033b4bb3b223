#include "render/frame_win.h"

#include "render/glyph_changes_win.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tallyglass {

namespace {
using Gdiplus::Color;

constexpr uint32_t kBackgroundBase = 0xFF000000;
constexpr uint32_t kBrushEndFirst = 0xFF008000;
constexpr uint32_t kBrushEndSecond = 0xFFA52A2A;
constexpr uint32_t kOutlineColor = 0x3E000202;

std::unique_ptr<Gdiplus::LinearGradientBrush> VerticalGradient(const Gdiplus::RectF& rect, const Color* colors,
                                                               const Gdiplus::REAL* positions, int count) {
    auto brush = std::make_unique<Gdiplus::LinearGradientBrush>(rect, Color(kBrushEndFirst), Color(kBrushEndSecond),
                                                                Gdiplus::LinearGradientModeVertical);
    brush->SetWrapMode(Gdiplus::WrapModeTile);
    brush->SetInterpolationColors(colors, positions, count);
    return brush;
}

void PaintGlyphs(Gdiplus::Graphics& graphics, const Gdiplus::GraphicsPath& path, const FrameContent& content,
                 uint32_t color) {
    Gdiplus::Pen outline{Color(kOutlineColor), content.outlineWidth};
    outline.SetLineJoin(Gdiplus::LineJoinRound);
    graphics.DrawPath(&outline, &path);
    const Gdiplus::SolidBrush fill{Color(color)};
    graphics.FillPath(&fill, &path);
}
void PaintGlyphs(Gdiplus::Graphics& graphics, const Gdiplus::GraphicsPath& path, const FrameContent& content) {
    PaintGlyphs(graphics, path, content, content.color);
}
}  // namespace

namespace {
void AddMessageText(Gdiplus::GraphicsPath& path, const FrameContent& content, const TextFace& face) {
    for (const MessageLine& line : content.message)
        if (line.color == 0) AddTextToPath(path, line.text, face, content.messageSize, line.x, line.y);
}

// The notes are few and short: each is painted from a path of its own, after the
// time, in every frame, so that a kept frame is one painted anew.
void PaintNotes(Gdiplus::Graphics& graphics, const FrameContent& content, const TextFace& face) {
    for (const MessageLine& line : content.message) {
        if (line.color == 0) continue;
        Gdiplus::GraphicsPath path(Gdiplus::FillModeAlternate);
        AddTextToPath(path, line.text, face, content.messageSize, line.x, line.y);
        PaintGlyphs(graphics, path, content, line.color);
    }
}
}  // namespace

void AddFrameText(Gdiplus::GraphicsPath& path, const FrameContent& content, const TextFace& face) {
    if (content.message.empty()) return AddTextToPath(path, content.text, face, content.fontSize, content.margin);
    AddTextToPath(path, content.text, face, content.fontSize, content.textX);
    AddMessageText(path, content, face);
}

PixelSize MeasureGlyphs(const std::wstring& text, const TextFace& face, int32_t size) {
    Gdiplus::GraphicsPath path(Gdiplus::FillModeAlternate);
    AddTextToPath(path, text, face, size, 0);
    Gdiplus::Rect bounds(0, 0, 0, 0);
    path.GetBounds(&bounds);
    return {bounds.Width, bounds.Height};
}

void PaintGradientBackground(Gdiplus::Graphics& graphics, const BackgroundGeometry& g) {
    const Gdiplus::SolidBrush base{Color(kBackgroundBase)};
    graphics.FillRectangle(&base, 0, 0, g.width, g.height);

    const Gdiplus::RectF whole(0, 0, static_cast<Gdiplus::REAL>(g.width), static_cast<Gdiplus::REAL>(g.height));
    const Color stops[] = {Color(0xFFFFFFFF), Color(0xFF000000), Color(0xFF000000), Color(0xFF2F4F4F)};
    const Gdiplus::REAL positions[] = {0.0f, 0.1f, 0.9f, 1.0f};
    const auto gradient = VerticalGradient(whole, stops, positions, 4);
    graphics.FillRectangle(gradient.get(), whole);

    if (g.margin <= 0) return;  // an empty strip paints nothing
    const Gdiplus::RectF strip(0, 0, static_cast<Gdiplus::REAL>(g.margin), static_cast<Gdiplus::REAL>(g.height));
    const Color stripStops[] = {Color(0x00AC7C68), Color(0xFFFFFFFF)};
    const Gdiplus::REAL stripPositions[] = {0.0f, 1.0f};
    const auto stripBrush = VerticalGradient(strip, stripStops, stripPositions, 2);
    graphics.FillRectangle(stripBrush.get(), strip);
}

void PaintOutlinedText(Gdiplus::Graphics& graphics, const FrameContent& content) {
    Gdiplus::GraphicsPath path(Gdiplus::FillModeAlternate);
    const TextFace face = TextFaceOrFallback(content.fontName);
    AddFrameText(path, content, face);
    PaintGlyphs(graphics, path, content);
    PaintNotes(graphics, content, face);
}

void PaintFrame(Gdiplus::Graphics& graphics, const FrameContent& content) {
    if (content.background)
        PaintGradientBackground(graphics, {content.size.width, content.size.height, content.margin});
    PaintOutlinedText(graphics, content);
}

void PaintInto(FrameSurface& surface, const std::function<void(Gdiplus::Graphics&)>& paint) {
    Gdiplus::Graphics graphics(&surface.Image());
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
    paint(graphics);
    graphics.Flush(Gdiplus::FlushIntentionSync);
}

void PaintFrameAnew(FrameSurface& surface, const FrameContent& content) {
    PaintInto(surface, [&content](Gdiplus::Graphics& graphics) { PaintFrame(graphics, content); });
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
    PathPoints now = PointsOf(TextPath(content));
    FrameArea area{0, 0, content.size.width, content.size.height};
    if (holdsLastFrame && CanRepaintTextOnly(surface, content))
        area = RepaintTextOnly(surface, content, now);
    else
        PaintWhole(surface, content, holdsLastFrame);
    m_painted = content;
    m_paintedPoints = std::move(now);
    return area;
}

bool FramePainter::CanRepaintTextOnly(const FrameSurface& surface, const FrameContent& content) const {
    if (!m_painted || m_paintedPoints.points.empty()) return false;
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

FrameArea FramePainter::RepaintTextOnly(FrameSurface& surface, const FrameContent& content, const PathPoints& now) {
    const FrameArea area = ChangedArea(m_paintedPoints, now, content.outlineWidth, content.size);
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
    // Clipped: glyphs that did not change but reach into the area are painted there as before.
    const auto reaching = FiguresReaching(now, area, content.outlineWidth);
    PaintInto(surface, [&](Gdiplus::Graphics& graphics) {
        graphics.SetClip(Gdiplus::Rect(area.left, area.top, area.right - area.left, area.bottom - area.top));
        PaintGlyphs(graphics, *reaching, content);
        PaintNotes(graphics, content, *m_face);
    });
    return area;
}

void FramePainter::PaintWhole(FrameSurface& surface, const FrameContent& content, bool holdsLastFrame) {
    if (holdsLastFrame) std::fill_n(surface.Bits(), surface.PixelCount(), 0u);
    if (content.background) PaintBackground(surface, {content.size.width, content.size.height, content.margin});
    PaintInto(surface, [&](Gdiplus::Graphics& graphics) {
        PaintGlyphs(graphics, *m_path, content);
        PaintNotes(graphics, content, *m_face);
    });
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
    PaintInto(surface, [&geometry](Gdiplus::Graphics& graphics) { PaintGradientBackground(graphics, geometry); });
    if (m_backgroundGeometry == geometry)
        m_background.assign(surface.Bits(), surface.Bits() + surface.PixelCount());
    else
        m_background.clear();
    m_backgroundGeometry = geometry;
}

const Gdiplus::GraphicsPath& FramePainter::TextPath(const FrameContent& content) {
    const bool message = !content.message.empty();
    const PathKey key{content.text, content.fontSize, message ? content.textX : content.margin, content.message,
                      content.messageSize};
    if (!m_path || !(m_pathKey == key)) {
        // The figures in AddFrameText's order, so that a kept frame is one painted anew.
        if (!m_messagePath || !m_pathKey.SameMessage(key)) {
            m_messagePath = std::make_unique<Gdiplus::GraphicsPath>(Gdiplus::FillModeAlternate);
            AddMessageText(*m_messagePath, content, *m_face);
        }
        m_path = std::make_unique<Gdiplus::GraphicsPath>(Gdiplus::FillModeAlternate);
        AddTextToPath(*m_path, content.text, *m_face, content.fontSize, key.originX);
        if (message) m_path->AddPath(m_messagePath.get(), FALSE);
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
    m_image =
        std::make_unique<Gdiplus::Bitmap>(width, height, width * 4, PixelFormat32bppPARGB, static_cast<BYTE*>(bits));
    if (m_image->GetLastStatus() != Gdiplus::Ok) m_image.reset();
}

FrameSurface::~FrameSurface() {
    m_image.reset();      // GDI+ lets go of the bits first
    m_selection.reset();  // the bitmap leaves the DC before either is deleted
}

GdiplusSession::GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    m_status = Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
}

GdiplusSession::~GdiplusSession() {
    if (m_status == Gdiplus::Ok) Gdiplus::GdiplusShutdown(m_token);
}

}  // namespace tallyglass
