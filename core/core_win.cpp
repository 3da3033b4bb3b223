#include "core/core_win.h"

#include <shlobj.h>

#include "core/color.h"
#include "framework/text_win.h"

namespace {
bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring ParentFolder(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring RoamingStorePath() {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) return {};
    return std::wstring(folder) + L"\\Tallyglass\\" + kSettingsFileName;
}
}  // namespace

std::wstring ExeFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return ParentFolder(path) + L"\\";
}

CCore::CCore(std::wstring storePath, std::wstring appPath)
    : m_storePath(std::move(storePath)), m_appPath(std::move(appPath)) {
    if (m_appPath.empty()) m_appPath = ExeFolder();
    if (m_appPath.back() != L'\\' && m_appPath.back() != L'/') m_appPath += L'\\';
}

void CCore::autoFileConfig() {
    if (m_storePath.empty()) {
        const std::wstring beside = m_appPath + kSettingsFileName;
        m_storePath = FileExists(beside) ? beside : RoamingStorePath();
    }
    if (m_storePath.empty()) {
        m_writable = false;  // no place to keep settings: run on defaults
        return;
    }
    if (GetFileAttributesW(m_storePath.c_str()) != INVALID_FILE_ATTRIBUTES) {
        std::string bytes;
        bool tooLarge = false;
        if (!ReadWholeFile(m_storePath, kMaxSettingsFileBytes, bytes, tooLarge)) {
            // What cannot be read must not be overwritten: the user's file stays as it is.
            m_writable = false;
            return;
        }
        m_store.Load(bytes);
        return;
    }
    m_store.AddMissingDefaults();
    m_dirty = true;
    commitConfig();
}

std::wstring CCore::getAppPath() const { return m_appPath; }

bool CCore::getConfigB(const char* key) const { return m_store.GetBool(key); }
int32_t CCore::getConfigInt(const char* key) const { return m_store.GetInt(key); }
std::string CCore::getConfigStr(const char* key) const { return m_store.GetText(key); }

uint32_t CCore::getColor(const std::string& text, const char* key) const {
    if (auto color = ParseColor(text)) return *color;
    const SettingKey* known = FindSettingKey(key);
    if (known) {
        if (auto fallback = ParseColor(known->defaultText)) return *fallback;
    }
    return 0xFFFFFFFF;
}

void CCore::saveConfigB(const char* key, bool value) {
    m_store.SetBool(key, value);
    m_dirty = true;
}

void CCore::saveConfigInt(const char* key, int32_t value) {
    m_store.SetInt(key, value);
    m_dirty = true;
}

bool CCore::commitConfig(SaveStepHook* hook) {
    if (!m_writable) return false;
    if (!m_dirty) return true;
    const std::wstring folder = ParentFolder(m_storePath);
    if (!folder.empty() && GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
        SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    if (!WriteFileAtomically(m_storePath, m_store.Serialize(), hook)) return false;
    m_dirty = false;
    return true;
}

bool CCore::isFileExist(const std::wstring& path) const { return FileExists(path); }

std::wstring CCore::getPathShort(const std::wstring& path) const {
    const DWORD length = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (length == 0) return path;
    std::wstring shortPath(length, L'\0');
    const DWORD written = GetShortPathNameW(path.c_str(), shortPath.data(), length);
    if (written == 0 || written >= length) return path;
    shortPath.resize(written);
    return shortPath;
}

std::wstring CCore::AboutText(const tagSoft* soft) const {
    ProductTexts texts;
    if (soft) texts = ReadProductRecord(*soft);
    std::wstring text = Widen(texts.title) + L"\n" + Widen(texts.kind) + L" \u00B7 " + Widen(texts.shortName) +
                        L" " + Widen(texts.version) +
                        L"\n\nF2: start    F4: reset\nDrag to move; right-click for the menu.\n\nSettings file:\n" +
                        (m_storePath.empty() ? std::wstring(L"(none)") : m_storePath);
    if (!m_writable) text += L"\n(cannot be written: changes will not be saved)";
    return text;
}

std::wstring CCore::uu(int operation, const tagSoft* soft, const std::wstring&, HWND owner) {
    if (operation != kAboutOperation) return {};
    const std::wstring title = soft ? Widen(ReadProductRecord(*soft).title) : std::wstring();
    MessageBoxW(owner, AboutText(soft).c_str(), title.c_str(), MB_OK | MB_ICONINFORMATION);
    return {};
}
