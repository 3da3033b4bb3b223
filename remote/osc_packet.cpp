#include "remote/osc_packet.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <string_view>
#include <utility>

namespace tallyglass {

namespace {
uint32_t ReadBigEndian32(const uint8_t* bytes) {
    return uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 | bytes[3];
}

// One message's bytes; every read checks what is left first.
class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool AtEnd() const { return pos_ == size_; }

    // Characters, one to four NULs, and nothing but NULs up to the next multiple of four.
    std::optional<std::string> String() {
        const size_t left = size_ - pos_;
        if (left == 0) return std::nullopt;
        const uint8_t* start = data_ + pos_;
        const void* nul = std::memchr(start, 0, left);
        if (!nul) return std::nullopt;
        const size_t length = static_cast<size_t>(static_cast<const uint8_t*>(nul) - start);
        const size_t padded = (length / 4 + 1) * 4;
        if (padded > left) return std::nullopt;
        for (size_t i = length; i < padded; ++i)
            if (start[i] != 0) return std::nullopt;
        pos_ += padded;
        return std::string(reinterpret_cast<const char*>(start), length);
    }

    std::optional<uint32_t> Word() {
        if (size_ - pos_ < 4) return std::nullopt;
        const uint32_t word = ReadBigEndian32(data_ + pos_);
        pos_ += 4;
        return word;
    }

    bool Skip(size_t count) {
        if (count > size_ - pos_) return false;
        pos_ += count;
        return true;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

std::optional<OscMessage> DecodeMessage(const uint8_t* data, size_t size) {
    Reader in(data, size);
    std::optional<std::string> address = in.String();
    if (!address || address->empty() || address->front() != '/') return std::nullopt;
    OscMessage message{std::move(*address), {}};
    // Older senders leave the type tags out of a message without arguments.
    if (in.AtEnd()) return message;
    const std::optional<std::string> tags = in.String();
    if (!tags || tags->empty() || tags->front() != ',') return std::nullopt;
    for (size_t i = 1; i < tags->size(); ++i) {
        switch ((*tags)[i]) {
            case 'i':
            case 'f': {
                const std::optional<uint32_t> word = in.Word();
                if (!word) return std::nullopt;
                if ((*tags)[i] == 'i') {
                    message.arguments.emplace_back(static_cast<int32_t>(*word));
                } else {
                    float value;
                    std::memcpy(&value, &*word, sizeof value);
                    message.arguments.emplace_back(value);
                }
                break;
            }
            case 's': {
                std::optional<std::string> text = in.String();
                if (!text) return std::nullopt;
                message.arguments.emplace_back(std::move(*text));
                break;
            }
            case 'b': {
                const std::optional<uint32_t> length = in.Word();
                if (!length || *length > uint32_t{std::numeric_limits<int32_t>::max()} ||
                    !in.Skip((size_t{*length} + 3) / 4 * 4))
                    return std::nullopt;
                message.arguments.emplace_back();
                break;
            }
            case 'h':
            case 'd':
            case 't':
                if (!in.Skip(8)) return std::nullopt;
                message.arguments.emplace_back();
                break;
            case 'T':
            case 'F':
            case 'N':
            case 'I':
                message.arguments.emplace_back();
                break;
            default:
                return std::nullopt;
        }
    }
    if (!in.AtEnd()) return std::nullopt;
    return message;
}

// A message, or a bundle: "#bundle", a time tag, then elements each led by its size.
void DecodeElement(const uint8_t* data, size_t size, int depth, std::vector<OscMessage>& out) {
    if (size % 4 != 0 || out.size() >= kMaxOscMessagesPerPacket) return;
    constexpr size_t kBundleHeader = 16;
    if (size < 8 || std::memcmp(data, "#bundle", 8) != 0) {
        if (std::optional<OscMessage> message = DecodeMessage(data, size)) out.push_back(std::move(*message));
        return;
    }
    if (depth >= kMaxOscBundleDepth || size < kBundleHeader) return;
    // Every size read is a multiple of four, so four bytes stand at pos whenever pos < size.
    for (size_t pos = kBundleHeader; pos < size;) {
        const uint32_t length = ReadBigEndian32(data + pos);
        pos += 4;
        // The sizes are the only way to the next element: one that does not fit ends the bundle.
        if (length % 4 != 0 || length > size - pos) return;
        DecodeElement(data + pos, length, depth + 1, out);
        pos += length;
    }
}

void PutWord(std::vector<uint8_t>& out, uint32_t word) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(word >> shift));
}

// The output is a multiple of four long before and after.
void PutString(std::vector<uint8_t>& out, std::string_view text) {
    text = text.substr(0, text.find('\0'));
    out.insert(out.end(), text.begin(), text.end());
    out.resize((out.size() / 4 + 1) * 4, 0);
}

// An integer's text within int64, so that a value past 32 bits is refused as itself.
std::string RoundedText(float value) {
    const double rounded = std::round(static_cast<double>(value));
    if (std::fabs(rounded) >= 9.0e18) return std::to_string(value);
    return std::to_string(static_cast<int64_t>(rounded));
}

// The first argument as the order's word; nothing when it has none it can take.
std::optional<std::string> WordOf(const OscMessage& message, bool numbers) {
    if (message.arguments.empty()) return std::nullopt;
    const OscArgument& first = message.arguments.front();
    if (const auto* text = std::get_if<std::string>(&first)) return *text;
    if (!numbers) return std::nullopt;
    if (const auto* number = std::get_if<int32_t>(&first)) return std::to_string(*number);
    if (const auto* real = std::get_if<float>(&first); real && std::isfinite(*real)) return RoundedText(*real);
    return std::nullopt;
}
}  // namespace

std::vector<OscMessage> DecodeOscPacket(const uint8_t* data, size_t size) {
    std::vector<OscMessage> messages;
    if (data && size > 0) DecodeElement(data, size, 0, messages);
    return messages;
}

std::vector<uint8_t> EncodeOscMessage(const OscMessage& message) {
    std::vector<uint8_t> out;
    PutString(out, message.address);
    std::string tags = ",";
    // The tags in OscArgument's order of alternatives.
    for (const OscArgument& argument : message.arguments) tags += "Nifs"[argument.index()];
    PutString(out, tags);
    for (const OscArgument& argument : message.arguments) {
        if (const int32_t* number = std::get_if<int32_t>(&argument)) {
            PutWord(out, static_cast<uint32_t>(*number));
        } else if (const float* real = std::get_if<float>(&argument)) {
            uint32_t word;
            std::memcpy(&word, real, sizeof word);
            PutWord(out, word);
        } else if (const std::string* text = std::get_if<std::string>(&argument)) {
            PutString(out, *text);
        }
    }
    return out;
}

std::optional<tallyglass::CommandCheck> CommandFromOsc(const OscMessage& message) {
    constexpr std::string_view kPrefix = "/tallyglass/";
    std::string_view name = message.address;
    if (name.substr(0, kPrefix.size()) != kPrefix) return std::nullopt;
    name.remove_prefix(kPrefix.size());
    const auto kind = tallyglass::CommandForNetworkWord(name);
    if (!kind) return std::nullopt;
    if (!tallyglass::TakesWord(*kind)) return tallyglass::CheckCommand(*kind);
    const auto word = WordOf(message, *kind != tallyglass::CommandKind::SetMessage);
    if (!word) return tallyglass::CommandCheck{std::nullopt, "a value is needed", std::string(name)};
    return tallyglass::CheckCommand(*kind, *word);
}

}  // namespace tallyglass
