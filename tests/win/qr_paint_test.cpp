#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "framework/handles_win.h"
#include "render/qr_paint_win.h"
#include "tests/win/win_test_support.h"

using namespace tallyglass;

namespace {
const std::string kKeyLink = "http://192.168.1.20:7360/?key=AbCdEfGhIjKlMnOpQrStUv";
constexpr uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF, kUntouched = 0x3366AA;

// A 32-bpp top-down DIB section selected into a memory DC, all of it kUntouched.
class Canvas {
public:
    Canvas(int width, int height) : m_width(width), m_height(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        m_bitmap = GdiBitmap(CreateDIBSection(m_dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        m_bits = static_cast<const uint32_t*>(bits);
        if (m_bits) m_selection.emplace(m_dc.get(), m_bitmap.get());
        const RECT all{0, 0, width, height};
        const UniqueHandle<HBRUSH, DeleteObjectTraits> untouched(CreateSolidBrush(RGB(0x33, 0x66, 0xAA)));
        FillRect(m_dc.get(), &all, untouched.get());
    }
    HDC Dc() const { return m_dc.get(); }
    bool Ready() const { return m_bits != nullptr; }
    uint32_t At(int x, int y) const {
        GdiFlush();
        return m_bits[static_cast<size_t>(y) * m_width + x] & 0xFFFFFF;
    }

private:
    int m_width, m_height;
    MemoryDc m_dc{CreateCompatibleDC(nullptr)};
    GdiBitmap m_bitmap;
    const uint32_t* m_bits = nullptr;
    std::optional<SelectedObject> m_selection;
};

bool DarkPixel(const QrMatrix& code, const QrPixelLayout& layout, int x, int y) {
    const int dx = x - layout.offset, dy = y - layout.offset;
    return dx >= 0 && dy >= 0 && code.At(dx / layout.modulePixels, dy / layout.modulePixels);
}

// Odd and large areas, one away from the canvas's corner and one wider than tall: each
// pixel is the layout's (whole black or white modules, centred, the quiet zone white) and
// the canvas outside the area is untouched. That the layout's picture reads back as the
// link is the native QrCode test's (zbarimg), and the painted screen's the settings e2e's.
TEST(QrPaint, PaintsWholePixelModulesCentred) {
    const std::optional<QrMatrix> code = EncodeQr(kKeyLink);
    ASSERT_TRUE(code);
    struct Case {
        int canvasWidth, canvasHeight;
        RECT area;
    };
    for (const Case& c : {Case{190, 185, {7, 5, 180, 178}}, Case{1001, 700, {0, 30, 1001, 670}}}) {
        const std::string name =
            std::to_string(c.area.right - c.area.left) + "x" + std::to_string(c.area.bottom - c.area.top);
        Canvas canvas(c.canvasWidth, c.canvasHeight);
        ASSERT_TRUE(canvas.Ready());
        ASSERT_TRUE(PaintQr(canvas.Dc(), c.area, *code)) << name;
        const int width = c.area.right - c.area.left, height = c.area.bottom - c.area.top;
        const int side = std::min(width, height);
        const int left = c.area.left + (width - side) / 2, top = c.area.top + (height - side) / 2;
        const QrPixelLayout layout = LayOutQr(code->size, side);
        ASSERT_GE(layout.modulePixels, 4) << name;
        int wrong = 0;
        for (int y = 0; y < c.canvasHeight; ++y) {
            for (int x = 0; x < c.canvasWidth; ++x) {
                const bool inArea = x >= c.area.left && x < c.area.right && y >= c.area.top && y < c.area.bottom;
                const uint32_t expected = !inArea                                       ? kUntouched
                                          : DarkPixel(*code, layout, x - left, y - top) ? kBlack
                                                                                        : kWhite;
                if (canvas.At(x, y) != expected && wrong++ == 0) {
                    ADD_FAILURE() << name << ": first wrong pixel (" << x << ", " << y << ") " << std::hex
                                  << canvas.At(x, y) << " for " << expected;
                }
            }
        }
        EXPECT_EQ(wrong, 0) << name;
    }
}

// 41 modules with the quiet zone do not fit 40 pixels: nothing but white, and false.
TEST(QrPaint, AnAreaTooSmallForWholePixelsIsLeftWhite) {
    const std::optional<QrMatrix> code = EncodeQr(kKeyLink);
    ASSERT_TRUE(code);
    ASSERT_EQ(code->size + 2 * kQrQuietModules, 41);
    Canvas canvas(40, 60);
    ASSERT_TRUE(canvas.Ready());
    EXPECT_FALSE(PaintQr(canvas.Dc(), {0, 0, 40, 60}, *code));
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 40; ++x) ASSERT_EQ(canvas.At(x, y), kWhite) << x << ", " << y;
    }
}
}  // namespace
