#pragma once
// The product record handed to the about operation: four NUL-terminated fields,
// each a text written as four hex digits per UTF-16 code unit and ended by "001E".
#include <cstddef>
#include <string>
#include <string_view>

namespace tallyglass {

// The name keeps the interface of the maker's core services library.
struct tagSoft {
    char version[51];
    char shortName[101];
    char kind[101];
    char title[101];
};
static_assert(sizeof(tagSoft) == 354, "the record's layout is fixed");

// Encodes UTF-8 text into a field of the given capacity (NUL included). A text
// too long is cut at a character boundary so that the field never overflows.
void EncodeSoftField(std::string_view utf8, char* field, size_t capacity);
// Decodes a field back to UTF-8; stops at "001E", the NUL or the capacity.
std::string DecodeSoftField(const char* field, size_t capacity);

struct ProductTexts {
    std::string version, shortName, kind, title;
};
void FillProductRecord(tagSoft& record, const ProductTexts& texts);
ProductTexts ReadProductRecord(const tagSoft& record);

// UTF-8 <-> UTF-16 code units for portable code; invalid input becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace tallyglass
