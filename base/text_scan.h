#pragma once
// The few character-level helpers that several parsers share.
#include <string>
#include <string_view>

namespace tallyglass {

// Without blanks (space, tab, CR, LF, VT, FF) at either end.
std::string_view Trim(std::string_view text);

// Equal but for the case of ASCII letters, as the settings file's names and words are.
bool EqualsNoCase(std::string_view a, std::string_view b);

// 0..15 for a hex digit of either case, -1 for anything else.
int HexDigitValue(char c);

// The mark some editors put first in a UTF-8 file; the store and the show's table skip it.
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Without the spaces, tabs and byte-order marks at its start, in any order: what
// a settings line's reader passes over (a mark mid-file comes from files joined together).
std::string_view WithoutLeadingMarksAndBlanks(std::string_view text);

// A byte inside a UTF-8 sequence, never the first of a character.
inline bool IsUtf8ContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// One character of UTF-8 at `at`: a well-formed sequence (no overlong form, no
// surrogate, nothing past U+10FFFF) and its length, or U+FFFD for the first byte alone.
struct Utf8Char {
    char32_t codePoint;
    size_t length;
};
Utf8Char DecodeUtf8At(std::string_view text, size_t at);

// A code point (at most U+10FFFF) written as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);

// At most `most` code points of UTF-8 text, never half of a character.
std::string_view CutToCodePoints(std::string_view text, size_t most);

}  // namespace tallyglass
