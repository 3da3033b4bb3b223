#pragma once
// UTF-8 in portable code, UTF-16 at every Win32 and GDI+ call.
#include <string>
#include <string_view>

namespace tallyglass {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace tallyglass
