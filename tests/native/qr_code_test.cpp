#include <gtest/gtest.h>

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "render/qr_code.h"

using namespace tallyglass;

namespace {
const std::string kKeyLink = "http://192.168.1.20:7360/?key=AbCdEfGhIjKlMnOpQrStUv";

bool DarkPixel(const QrMatrix& code, const QrPixelLayout& layout, int x, int y) {
    const int dx = x - layout.offset, dy = y - layout.offset;
    return dx >= 0 && dy >= 0 && code.At(dx / layout.modulePixels, dy / layout.modulePixels);
}

// The code laid out in a square of side pixels, as a binary PGM: the picture a painter makes.
std::string Pgm(const QrMatrix& code, int side) {
    const QrPixelLayout layout = LayOutQr(code.size, side);
    std::string image = "P5\n" + std::to_string(side) + " " + std::to_string(side) + "\n255\n";
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) image += DarkPixel(code, layout, x, y) ? '\x00' : '\xFF';
    }
    return image;
}

class QrCode : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "tallyglass-qr-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
        // Fails, never skips: scripts/deps.sh installs it, and without it nothing here is checked.
        ASSERT_EQ(std::system("command -v zbarimg >/dev/null 2>&1"), 0)
            << "zbarimg is missing: scripts/deps.sh installs it (Debian's zbar-tools)";
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    // What zbarimg reads from the code's picture: its text and a newline, or its complaint.
    std::string ReadBack(const QrMatrix& code, int side, const std::string& name) {
        const std::filesystem::path path = m_folder / (name + ".pgm");
        std::ofstream(path, std::ios::binary) << Pgm(code, side);
        const std::string command =
            "zbarimg --raw -q --nodbus -Sdisable -Sqrcode.enable '" + path.string() + "' 2>&1; echo \"status $?\"";
        std::string output;
        if (FILE* pipe = popen(command.c_str(), "r")) {
            char buffer[4096];
            for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
            pclose(pipe);
        }
        return output;
    }

    std::filesystem::path m_folder;
};

// The key's link, an IPv6 one and the longest text a code holds, each read back by a
// reader that is not the encoder, at a few pixels a module and an odd side.
TEST_F(QrCode, ReadsBackExactlyTheTextItWasMadeOf) {
    std::string longest;  // printable bytes in no mode but byte mode's
    for (int i = 0; i < 2331; ++i) longest += static_cast<char>('a' + i * 7 % 26 - (i % 3 == 0 ? 32 : 0));
    const std::string texts[] = {kKeyLink, "http://[fe80::1c2d:3e4f:5a6b:7c8d]:7360/?key=AbCdEfGhIjKlMnOpQrStUv",
                                 longest};
    for (const std::string& text : texts) {
        const std::optional<QrMatrix> code = EncodeQr(text);
        ASSERT_TRUE(code) << text.size() << " bytes";
        ASSERT_EQ(code->dark.size(), static_cast<size_t>(code->size) * code->size);
        const int side = (code->size + 2 * kQrQuietModules) * 3 + 1;
        EXPECT_EQ(ReadBack(*code, side, std::to_string(text.size())), text + "\nstatus 0\n") << text.size() << " bytes";
    }
    // The key's link stays a version-4 code (33 modules): large modules in a small window.
    EXPECT_EQ(EncodeQr(kKeyLink)->size, 33);
}

// Level M's limit at version 40 is 2331 bytes: one more is refused, however much more.
TEST(QrEncode, RefusesTextBeyondTheLargestCode) {
    EXPECT_EQ(EncodeQr(std::string(2331, 'x'))->size, 177);
    EXPECT_FALSE(EncodeQr(std::string(2332, 'x')));
    EXPECT_FALSE(EncodeQr(std::string(3000, 'x')));
    EXPECT_FALSE(EncodeQr(std::string(1 << 20, 'x')));
}

TEST(QrPixelLayout, LargestWholePixelModuleWithTheQuietZoneCentred) {
    for (int count : {21, 33, 177}) {
        for (int side = 0; side <= 1000; ++side) {
            const QrPixelLayout layout = LayOutQr(count, side);
            const int m = layout.modulePixels, zone = count + 2 * kQrQuietModules;
            if (side < zone) {
                EXPECT_EQ(m, 0) << count << " in " << side;
                continue;
            }
            ASSERT_GE(m, 1) << count << " in " << side;
            EXPECT_LE(zone * m, side) << count << " in " << side;
            EXPECT_GT(zone * (m + 1), side) << count << " in " << side;
            EXPECT_EQ(layout.codePixels, count * m);
            const int after = side - layout.offset - layout.codePixels;
            EXPECT_GE(layout.offset, kQrQuietModules * m) << count << " in " << side;
            EXPECT_GE(after, kQrQuietModules * m) << count << " in " << side;
            EXPECT_TRUE(after == layout.offset || after == layout.offset + 1) << count << " in " << side;
        }
    }
    EXPECT_EQ(LayOutQr(0, 500).modulePixels, 0);
}
}  // namespace
