#include "remote/remote_order.h"

#include "core/text_scan.h"

namespace {
constexpr size_t kMaxMessageCodePoints = 200;
}  // namespace

std::string CleanMessage(const std::string& text) {
    std::string clean;
    size_t codePoints = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) continue;
        // C1 controls, U+0080 to U+009F, are two bytes in UTF-8: C2 80 to C2 9F.
        if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xA0 &&
            IsUtf8ContinuationByte(text[i + 1])) {
            ++i;
            continue;
        }
        if (!IsUtf8ContinuationByte(text[i]) && ++codePoints > kMaxMessageCodePoints) break;
        clean += static_cast<char>(c);
    }
    return clean;
}
