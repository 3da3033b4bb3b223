#pragma once
// UTF-8 in portable code, UTF-16 at every Win32 call.
#include <windows.h>

#include <string>
#include <string_view>

namespace tallyglass {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
// A window's or a control's text, whole.
std::wstring WindowText(HWND window);

}  // namespace tallyglass
