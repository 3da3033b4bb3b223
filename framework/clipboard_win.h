#pragma once
#include <windows.h>

#include <string>

namespace tallyglass {

// Puts the text on the clipboard as Unicode text; false when the clipboard is busy.
bool CopyTextToClipboard(HWND owner, const std::wstring& text);

}  // namespace tallyglass
