#include "command/message_text.h"

#include <cstdint>

#include "base/text_scan.h"

namespace tallyglass {
namespace {
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
        const Utf8Char decoded = DecodeUtf8At(text, at);
        at += decoded.length;
        if (IsDropped(decoded.codePoint)) continue;
        if (codePoints == kMaxMessageCodePoints || clean.size() + Utf8Length(decoded.codePoint) > kMaxMessageBytes)
            break;
        AppendUtf8(clean, decoded.codePoint);
        ++codePoints;
    }
    return clean;
}

std::vector<std::string> MessagePresets(std::string_view text) {
    std::vector<std::string> presets;
    while (!text.empty() && presets.size() < kMaxMessagePresets) {
        const size_t bar = text.find('|');
        const std::string preset = CleanMessage(text.substr(0, bar));
        if (const std::string_view trimmed = Trim(preset); !trimmed.empty()) presets.emplace_back(trimmed);
        text = bar == std::string_view::npos ? std::string_view() : text.substr(bar + 1);
    }
    return presets;
}

}  // namespace tallyglass
