#include "render/text_outline_win.h"

#include <algorithm>
#include <cwchar>
#include <vector>

#include "framework/handles_win.h"

namespace tallyglass {

namespace {
// A GDI path's points are whole device units: the outline is taken this many times
// larger and scaled back, to a sixteenth of a pixel, yet never from a font over
// this many pixels to the em.
constexpr int32_t kMostScale = 16;
constexpr int32_t kLargestScaledEm = 4096;

int32_t ScaleFor(int32_t size) { return std::clamp(kLargestScaledEm / std::max(size, 1), 1, kMostScale); }

LOGFONTW FaceLogFont(const std::wstring& name, int32_t emPixels) {
    LOGFONTW font{};
    font.lfHeight = -emPixels;  // negative: the em, not the cell
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    wcsncpy(font.lfFaceName, name.c_str(), LF_FACESIZE - 1);
    return font;
}

int CALLBACK NoteOutlineFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM found) {
    if (type & RASTER_FONTTYPE) return 1;  // no outlines to take a path from
    if (auto* name = reinterpret_cast<std::wstring*>(found)) *name = font->lfFaceName;
    return 0;
}

// The first family with outlines by that name; an empty name: the first of any.
std::wstring InstalledOutlineFamily(HDC dc, const std::wstring& name) {
    LOGFONTW wanted = FaceLogFont(name, 0);
    std::wstring found;
    EnumFontFamiliesExW(dc, &wanted, &NoteOutlineFamily, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

// Whether GDI selects the family itself for the name; only when it does not are the
// family's faces enumerated (under Wine that realises each of them).
bool Installed(HDC dc, const std::wstring& name) {
    if (name.empty()) return false;
    const LOGFONTW wanted = FaceLogFont(name, 12);
    const GdiFont font(CreateFontIndirectW(&wanted));
    const SelectedObject selection(dc, font.get());
    wchar_t chosen[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, chosen);
    return _wcsicmp(chosen, wanted.lfFaceName) == 0 || !InstalledOutlineFamily(dc, wanted.lfFaceName).empty();
}

// A flattened GDI path's figures; a figure of one point (an empty glyph's) outlines nothing.
void AddGdiFigures(OutlinePath& path, const std::vector<POINT>& points, const std::vector<BYTE>& types, float scale,
                   int32_t originX, int32_t originY) {
    for (size_t first = 0, end = 0; first < points.size(); first = end) {
        end = first + 1;
        while (end < points.size() && (types[end] & ~PT_CLOSEFIGURE) != PT_MOVETO) ++end;
        if (end - first < 2) continue;
        for (size_t i = first; i < end; ++i)
            path.push_back({static_cast<float>(originX) + static_cast<float>(points[i].x) / scale,
                            static_cast<float>(originY) + static_cast<float>(points[i].y) / scale, i == first});
    }
}
}  // namespace

TextFace TextFaceOrFallback(const std::wstring& name) {
    const MemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc || Installed(dc.get(), name)) return {name};
    for (const wchar_t* sans : {L"Microsoft Sans Serif", L"DejaVu Sans", L"Liberation Sans", L"Tahoma", L"Arial"})
        if (Installed(dc.get(), sans)) return {sans};
    const std::wstring any = InstalledOutlineFamily(dc.get(), {});
    return {any.empty() ? name : any};
}

void AddTextToPath(OutlinePath& path, const std::wstring& text, const TextFace& face, int32_t size, int32_t originX,
                   int32_t originY) {
    if (text.empty() || size <= 0) return;
    const MemoryDc dc(CreateCompatibleDC(nullptr));
    const int32_t scale = ScaleFor(size);
    const LOGFONTW wanted = FaceLogFont(face.name, size * scale);
    const GdiFont font(CreateFontIndirectW(&wanted));
    if (!dc || !font) return;
    const SelectedObject selection(dc.get(), font.get());
    SetBkMode(dc.get(), TRANSPARENT);
    SetTextAlign(dc.get(), TA_TOP | TA_LEFT | TA_NOUPDATECP);
    BeginPath(dc.get());
    ExtTextOutW(dc.get(), 0, 0, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    EndPath(dc.get());
    FlattenPath(dc.get());
    const int count = GetPath(dc.get(), nullptr, nullptr, 0);
    if (count <= 0) return;
    std::vector<POINT> points(static_cast<size_t>(count));
    std::vector<BYTE> types(static_cast<size_t>(count));
    if (GetPath(dc.get(), points.data(), types.data(), count) != count) return;
    AddGdiFigures(path, points, types, static_cast<float>(scale), originX, originY);
}

}  // namespace tallyglass
