#pragma once
// A text as a QR code a phone's camera reads (the remote-control links in the settings
// window), and where its modules fall in a square of whole pixels.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tallyglass {

// The code's modules, row by row.
struct QrMatrix {
    int size = 0;               // modules on a side
    std::vector<uint8_t> dark;  // size * size, 1 for a dark module
    // Outside the code is the light quiet zone.
    bool At(int x, int y) const {
        return x >= 0 && y >= 0 && x < size && y < size && dark[static_cast<size_t>(y) * size + x] != 0;
    }
};

// The text's bytes as a code at error correction level M, or higher where the same size
// holds it; empty when the text does not fit the largest code.
std::optional<QrMatrix> EncodeQr(std::string_view text);

// The light margin a reader needs around a code, in modules.
constexpr int kQrQuietModules = 4;

struct QrPixelLayout {
    int modulePixels = 0;  // pixels on a module's side; 0 when even one is too many
    int offset = 0;        // from the square's left (and top) edge to the code's first module
    int codePixels = 0;    // the code's side without its quiet zone
};

// The largest whole-pixel module at which the code and its quiet zone fit a square of
// sidePixels, the code centred (a spare odd pixel goes to the right and the bottom):
// modules of whole pixels have sharp edges, which a camera reads from further away.
QrPixelLayout LayOutQr(int moduleCount, int sidePixels);

}  // namespace tallyglass
