#pragma once
// The few character-level helpers that several parsers share.
#include <string_view>

// Without blanks (space, tab, CR, LF, VT, FF) at either end.
std::string_view Trim(std::string_view text);

// Equal but for the case of ASCII letters, as the settings file's names and words are.
bool EqualsNoCase(std::string_view a, std::string_view b);

// 0..15 for a hex digit of either case, -1 for anything else.
int HexDigitValue(char c);
