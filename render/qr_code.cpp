#include "render/qr_code.h"

#include <qrcodegen.h>

#include <algorithm>
#include <vector>

namespace tallyglass {

namespace {
// The most bytes any code holds (version 40 at level L): a longer text is refused before
// it is copied.
constexpr size_t kMostQrBytes = 2953;
}  // namespace

std::optional<QrMatrix> EncodeQr(std::string_view text) {
    if (text.size() > kMostQrBytes) return std::nullopt;
    // Level M (the code survives losing 15% of it to glare, moiré or a thumb) rather than Q: the
    // key's link (52 bytes with an IPv4 address) stays a version-4 code of 33 modules, where Q
    // takes version 5's 37, and the larger modules of the same square read from further away.
    // The library raises the level where the same size holds the text at it.
    // Bytes, not the library's text modes: a link's mixed case is byte mode anyway, and
    // bytes carry a NUL that a C string would end at.
    std::vector<uint8_t> dataAndTemp(qrcodegen_BUFFER_LEN_MAX);
    std::vector<uint8_t> code(qrcodegen_BUFFER_LEN_MAX);
    std::copy(text.begin(), text.end(), dataAndTemp.begin());
    if (!qrcodegen_encodeBinary(dataAndTemp.data(), text.size(), code.data(), qrcodegen_Ecc_MEDIUM,
                                qrcodegen_VERSION_MIN, qrcodegen_VERSION_MAX, qrcodegen_Mask_AUTO, true))
        return std::nullopt;  // beyond version 40 at level M
    QrMatrix matrix;
    matrix.size = qrcodegen_getSize(code.data());
    matrix.dark.resize(static_cast<size_t>(matrix.size) * matrix.size);
    for (int y = 0; y < matrix.size; ++y) {
        for (int x = 0; x < matrix.size; ++x) {
            matrix.dark[static_cast<size_t>(y) * matrix.size + x] = qrcodegen_getModule(code.data(), x, y) ? 1 : 0;
        }
    }
    return matrix;
}

QrPixelLayout LayOutQr(int moduleCount, int sidePixels) {
    const int withQuietZone = moduleCount + 2 * kQrQuietModules;
    if (moduleCount <= 0 || sidePixels < withQuietZone) return {};
    QrPixelLayout layout;
    layout.modulePixels = sidePixels / withQuietZone;
    layout.codePixels = layout.modulePixels * moduleCount;
    layout.offset = (sidePixels - layout.codePixels) / 2;
    return layout;
}

}  // namespace tallyglass
