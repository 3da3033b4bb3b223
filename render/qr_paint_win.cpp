#include "render/qr_paint_win.h"

#include <algorithm>

#include "framework/handles_win.h"

namespace tallyglass {

namespace {
using SolidBrush = UniqueHandle<HBRUSH, DeleteObjectTraits>;
}  // namespace

bool PaintQr(HDC dc, const RECT& area, const QrMatrix& code) {
    const SolidBrush white(CreateSolidBrush(RGB(255, 255, 255)));
    const SolidBrush black(CreateSolidBrush(RGB(0, 0, 0)));
    if (!white || !black || !FillRect(dc, &area, white.get())) return false;
    const int width = area.right - area.left, height = area.bottom - area.top;
    const int side = std::min(width, height);
    const QrPixelLayout layout = LayOutQr(code.size, side);
    if (layout.modulePixels == 0) return false;
    const int left = area.left + (width - side) / 2 + layout.offset;
    const int top = area.top + (height - side) / 2 + layout.offset;
    const int m = layout.modulePixels;
    // One rectangle per run of dark modules in a row, not one per module: fewer GDI calls.
    for (int y = 0; y < code.size; ++y) {
        for (int x = 0; x < code.size;) {
            if (!code.At(x, y)) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < code.size && code.At(x, y)) ++x;
            const RECT run{left + start * m, top + y * m, left + x * m, top + (y + 1) * m};
            if (!FillRect(dc, &run, black.get())) return false;
        }
    }
    return true;
}

}  // namespace tallyglass
