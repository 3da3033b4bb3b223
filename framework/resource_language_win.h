#pragma once
// The language the program's own resources (dialogs, menus, strings) are taken
// in. Chosen once at start; until then Windows picks by the user's interface
// language, as it does for FindResourceW.
#include <windows.h>

#include <string>

namespace tallyglass {

// Also makes it the thread's interface language, so that the system's own
// texts (message box buttons) agree with the program's.
void SetResourceLanguage(LANGID language);
LANGID ResourceLanguage();

// The resource in the given language, or in the one Windows picks when the
// program has none in that language; null when there is none at all.
const void* LoadResourceIn(LANGID language, LPCWSTR name, LPCWSTR type);
const void* LoadLocalizedResource(LPCWSTR name, LPCWSTR type);

// A string-table entry in the resource language; empty when there is none.
std::wstring LoadStringIn(LANGID language, UINT id);
std::wstring LoadLocalizedString(UINT id);

}  // namespace tallyglass
