#include "render/qr_code.h"

#include <qrcodegen.hpp>

#include <stdexcept>

namespace tallyglass {

namespace {
// The most bytes any code holds (version 40 at level L): a longer text is refused before
// it is copied.
constexpr size_t kMostQrBytes = 2953;
}  // namespace

std::optional<QrMatrix> EncodeQr(std::string_view text) {
    if (text.size() > kMostQrBytes) return std::nullopt;
    using qrcodegen::QrCode;
    // Level M (the code survives losing 15% of it to glare, moiré or a thumb) rather than Q: the
    // key's link (52 bytes with an IPv4 address) stays a version-4 code of 33 modules, where Q
    // takes version 5's 37, and the larger modules of the same square read from further away.
    // The library raises the level where the same size holds the text at it.
    // Bytes, not the library's text modes: a link's mixed case is byte mode anyway, and
    // bytes carry a NUL that a C string would end at.
    try {
        const QrCode code = QrCode::encodeBinary(std::vector<uint8_t>(text.begin(), text.end()), QrCode::Ecc::MEDIUM);
        QrMatrix matrix;
        matrix.size = code.getSize();
        matrix.dark.resize(static_cast<size_t>(matrix.size) * matrix.size);
        for (int y = 0; y < matrix.size; ++y) {
            for (int x = 0; x < matrix.size; ++x) {
                matrix.dark[static_cast<size_t>(y) * matrix.size + x] = code.getModule(x, y) ? 1 : 0;
            }
        }
        return matrix;
    } catch (const std::length_error&) {  // qrcodegen::data_too_long: beyond version 40 at level M
        return std::nullopt;
    }
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
