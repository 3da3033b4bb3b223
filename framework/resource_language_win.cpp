#include "framework/resource_language_win.h"

#include <atomic>

namespace tallyglass {

namespace {
std::atomic<LANGID> g_language{MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)};
}  // namespace

void SetResourceLanguage(LANGID language) {
    g_language = language;
    SetThreadUILanguage(language);
}

LANGID ResourceLanguage() { return g_language; }

const void* LoadResourceIn(LANGID language, LPCWSTR name, LPCWSTR type) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = nullptr;
    if (PRIMARYLANGID(language) != LANG_NEUTRAL) found = FindResourceExW(module, type, name, language);
    if (!found) found = FindResourceW(module, name, type);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    return loaded ? LockResource(loaded) : nullptr;
}

const void* LoadLocalizedResource(LPCWSTR name, LPCWSTR type) { return LoadResourceIn(g_language, name, type); }

std::wstring LoadStringIn(LANGID language, UINT id) {
    // Strings live in blocks of sixteen, each a length followed by its UTF-16 text.
    const auto* entry = static_cast<const WCHAR*>(
        LoadResourceIn(language, MAKEINTRESOURCEW((id >> 4) + 1), MAKEINTRESOURCEW(6) /* RT_STRING */));
    if (!entry) return {};
    for (UINT skip = id & 15; skip > 0; --skip) entry += 1 + *entry;
    return std::wstring(entry + 1, *entry);
}

std::wstring LoadLocalizedString(UINT id) { return LoadStringIn(g_language, id); }

}  // namespace tallyglass
