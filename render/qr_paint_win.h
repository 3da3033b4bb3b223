#pragma once
// A QR code painted with GDI, for a window that shows a link to scan.
#include <windows.h>

#include "render/qr_code.h"

namespace tallyglass {

// Fills the area white and paints the code black in the middle of the largest square the
// area holds, with whole-pixel modules and the quiet zone (LayOutQr). False when that
// square has less than a pixel for each module (the area is left white) or GDI fails.
bool PaintQr(HDC dc, const RECT& area, const QrMatrix& code);

}  // namespace tallyglass
