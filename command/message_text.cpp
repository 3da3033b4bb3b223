#include "command/message_text.h"

#include <cstdint>

#include "base/text_scan.h"

namespace tallyglass {
namespace {
constexpr char32_t kReplacement = 0xFFFD;

struct Decoded {
    char32_t codePoint;
    size_t length;  // bytes taken; 1 for a byte that starts no valid sequence
};

// One code point of well-formed UTF-8 (no overlong forms, no surrogates, nothing
// past U+10FFFF), or the replacement character for the first byte alone.
Decoded DecodeOne(std::string_view text, size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) return {lead, 1};
    size_t length = 0;
    char32_t value = 0, least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07, least = 0x10000;
    } else {
        return {kReplacement, 1};
    }
    if (text.size() - at < length) return {kReplacement, 1};
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) return {kReplacement, 1};
        value = value << 6 | (next & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return {kReplacement, 1};
    return {value, length};
}

// Characters that would break the clock's line, or make its text read other
// than it is sent (a direction override reorders what follows it).
bool IsDropped(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029 || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

size_t Utf8Length(char32_t c) { return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4; }
}  // namespace

std::string CleanMessage(std::string_view text) {
    std::string clean;
    size_t codePoints = 0;
    for (size_t at = 0; at < text.size();) {
        const Decoded decoded = DecodeOne(text, at);
        at += decoded.length;
        if (IsDropped(decoded.codePoint)) continue;
        if (codePoints == kMaxMessageCodePoints || clean.size() + Utf8Length(decoded.codePoint) > kMaxMessageBytes)
            break;
        AppendUtf8(clean, decoded.codePoint);
        ++codePoints;
    }
    return clean;
}

}  // namespace tallyglass
