#include "base/product_record.h"

#include <algorithm>
#include <cstring>

#include "base/text_scan.h"

namespace tallyglass {

namespace {
constexpr char kTerminator[] = "001E";
constexpr size_t kDigitsPerUnit = 4;

}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    for (size_t i = 0; i < utf8.size();) {
        const Utf8Char decoded = DecodeUtf8At(utf8, i);
        i += decoded.length;
        char32_t cp = decoded.codePoint;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    for (size_t i = 0; i < utf16.size(); ++i) {
        char32_t cp = utf16[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[++i] - 0xDC00);
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

void EncodeSoftField(std::string_view utf8, char* field, size_t capacity) {
    if (capacity == 0) return;
    std::memset(field, 0, capacity);
    const std::u16string units = Utf8ToUtf16(utf8);
    const size_t room = capacity - 1;  // the NUL
    if (room < sizeof kTerminator - 1) return;
    const size_t maxUnits = (room - (sizeof kTerminator - 1)) / kDigitsPerUnit;
    size_t count = std::min(units.size(), maxUnits);
    // Never leave half of a surrogate pair behind.
    if (count > 0 && count < units.size() && units[count - 1] >= 0xD800 && units[count - 1] <= 0xDBFF) --count;
    static constexpr char kHex[] = "0123456789ABCDEF";
    char* out = field;
    for (size_t i = 0; i < count; ++i)
        for (int shift = 12; shift >= 0; shift -= 4) *out++ = kHex[units[i] >> shift & 0xF];
    std::memcpy(out, kTerminator, sizeof kTerminator - 1);
}

std::string DecodeSoftField(const char* field, size_t capacity) {
    std::u16string units;
    for (size_t i = 0; i + kDigitsPerUnit <= capacity; i += kDigitsPerUnit) {
        if (std::memchr(field + i, '\0', kDigitsPerUnit)) break;
        if (std::memcmp(field + i, kTerminator, kDigitsPerUnit) == 0) break;
        int unit = 0;
        for (size_t k = 0; k < kDigitsPerUnit; ++k) {
            const int digit = HexDigitValue(field[i + k]);
            if (digit < 0) return Utf16ToUtf8(units);
            unit = unit << 4 | digit;
        }
        units += static_cast<char16_t>(unit);
    }
    return Utf16ToUtf8(units);
}

void FillProductRecord(tagSoft& record, const ProductTexts& texts) {
    EncodeSoftField(texts.version, record.version, sizeof record.version);
    EncodeSoftField(texts.shortName, record.shortName, sizeof record.shortName);
    EncodeSoftField(texts.kind, record.kind, sizeof record.kind);
    EncodeSoftField(texts.title, record.title, sizeof record.title);
}

ProductTexts ReadProductRecord(const tagSoft& record) {
    return {DecodeSoftField(record.version, sizeof record.version),
            DecodeSoftField(record.shortName, sizeof record.shortName),
            DecodeSoftField(record.kind, sizeof record.kind), DecodeSoftField(record.title, sizeof record.title)};
}

}  // namespace tallyglass
