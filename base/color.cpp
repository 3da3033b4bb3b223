#include "base/color.h"

#include <array>

#include "base/text_scan.h"

namespace tallyglass {

namespace {
std::optional<uint32_t> ParseHex(std::string_view digits) {
    if (digits.size() != 6 && digits.size() != 8) return std::nullopt;
    uint32_t value = 0;
    for (char c : digits) {
        const int nibble = HexDigitValue(c);
        if (nibble < 0) return std::nullopt;
        value = value << 4 | static_cast<uint32_t>(nibble);
    }
    return digits.size() == 6 ? 0xFF000000u | value : value;
}

std::optional<uint32_t> ParseDecimalChannel(std::string_view text) {
    text = Trim(text);
    if (text.empty() || text.size() > 3) return std::nullopt;
    uint32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > 255) return std::nullopt;
    return value;
}

std::optional<uint32_t> ParseDecimalList(std::string_view text) {
    std::array<uint32_t, 4> channels{};
    size_t count = 0;
    while (true) {
        const size_t comma = text.find(',');
        if (count == channels.size()) return std::nullopt;
        const auto channel = ParseDecimalChannel(text.substr(0, comma));
        if (!channel) return std::nullopt;
        channels[count++] = *channel;
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    if (count == 3) return 0xFF000000u | channels[0] << 16 | channels[1] << 8 | channels[2];
    if (count == 4) return channels[0] << 24 | channels[1] << 16 | channels[2] << 8 | channels[3];
    return std::nullopt;
}
}  // namespace

std::optional<uint32_t> ParseColor(std::string_view text) {
    text = Trim(text);
    if (text.empty()) return std::nullopt;
    if (text.front() == '#') return ParseHex(text.substr(1));
    return ParseDecimalList(text);
}

}  // namespace tallyglass
