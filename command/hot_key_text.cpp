#include "command/hot_key_text.h"

#include <cctype>
#include <optional>
#include <vector>

namespace tallyglass {

namespace {
namespace mod = hot_key_modifier;

struct Name {
    const char* text;
    uint32_t value;
};

// In the order FormatHotKey writes them; "Control" is read as well.
constexpr Name kModifiers[] = {{"Ctrl", mod::kControl},
                               {"Alt", mod::kAlt},
                               {"Shift", mod::kShift},
                               {"Win", mod::kWin},
                               {"Control", mod::kControl}};
constexpr Name kNamedKeys[] = {{"Space", 0x20}, {"PageUp", 0x21}, {"PgUp", 0x21}, {"PageDown", 0x22},
                               {"PgDn", 0x22},  {"End", 0x23},    {"Home", 0x24}, {"Left", 0x25},
                               {"Up", 0x26},    {"Right", 0x27},  {"Down", 0x28}};
constexpr uint32_t kF1 = 0x70;

std::string Lower(std::string_view text) {
    std::string out;
    for (char c : text) out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::optional<uint32_t> Lookup(const std::string& lowered, const Name* begin, const Name* end) {
    for (const Name* n = begin; n != end; ++n)
        if (lowered == Lower(n->text)) return n->value;
    return std::nullopt;
}

std::optional<uint32_t> KeyCode(const std::string& name) {
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
        return static_cast<uint32_t>(std::toupper(static_cast<unsigned char>(name[0])));
    if (name.size() >= 2 && name.size() <= 3 && name[0] == 'f' && name[1] != '0') {
        uint32_t number = 0;
        for (size_t i = 1; i < name.size(); ++i) {
            if (!std::isdigit(static_cast<unsigned char>(name[i]))) return std::nullopt;
            number = number * 10 + static_cast<uint32_t>(name[i] - '0');
        }
        if (number >= 1 && number <= 24) return kF1 + number - 1;
        return std::nullopt;
    }
    return Lookup(name, std::begin(kNamedKeys), std::end(kNamedKeys));
}

std::vector<std::string> SplitAtPlus(std::string_view text) {
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == '+')
            parts.emplace_back();
        else if (!std::isspace(static_cast<unsigned char>(c)))
            parts.back() += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return parts;
}

std::string KeyName(uint32_t code) {
    if (code >= kF1 && code < kF1 + 24) return "F" + std::to_string(code - kF1 + 1);
    for (const Name& n : kNamedKeys)
        if (n.value == code) return n.text;
    return std::string(1, static_cast<char>(code));
}
}  // namespace

ParsedHotKey ParseHotKeyText(std::string_view text) {
    const std::vector<std::string> parts = SplitAtPlus(text);
    if (parts.size() == 1 && parts[0].empty()) return {};
    ParsedHotKey result{HotKeyParse::NotUnderstood, {}};
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        const auto bit = Lookup(parts[i], std::begin(kModifiers), std::end(kModifiers));
        if (!bit || (result.key.modifiers & *bit)) return result;
        result.key.modifiers |= *bit;
    }
    const auto code = KeyCode(parts.back());
    if (!code) return result;
    result.key.keyCode = *code;
    result.outcome = result.key.modifiers == 0 ? HotKeyParse::NoModifier : HotKeyParse::Ok;
    return result;
}

std::string FormatHotKey(const HotKey& key) {
    std::string text;
    for (size_t i = 0; i < 4; ++i)
        if (key.modifiers & kModifiers[i].value) text += std::string(kModifiers[i].text) + "+";
    return text + KeyName(key.keyCode);
}

}  // namespace tallyglass
