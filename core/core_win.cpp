#include "core/core_win.h"

#include <shlobj.h>

#include <optional>

#include "base/color.h"
#include "framework/resource_language_win.h"
#include "framework/text_win.h"
#include "res/resource.h"
#include "store/setting_keys.h"
#include "store/store_files.h"

namespace tallyglass {

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

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() >= 32768) return {};  // longer than any Windows path
        path.resize(path.size() * 2);
    }
}

std::wstring UnreadableReason(const FileRead& read) {
    switch (read.outcome) {
        case ReadOutcome::Busy:
            return L"the settings file is in use by another program";
        case ReadOutcome::Denied:
            return L"access to the settings file is denied";
        case ReadOutcome::TooLarge:
            return L"the settings file is too large to be one";
        default:
            return L"the settings file cannot be read (error " + std::to_wstring(read.error) + L")";
    }
}
}  // namespace

std::wstring ExeFolder() { return FolderOfModule(ModulePath()); }

std::wstring StorePathFor(const std::wstring& appFolder) {
    if (!appFolder.empty() && FileExists(appFolder + kSettingsFileName)) return appFolder + kSettingsFileName;
    return RoamingStorePath();
}

CCore::CCore(std::wstring storePath, std::wstring appPath)
    : m_storePath(std::move(storePath)), m_appPath(std::move(appPath)) {
    if (m_appPath.empty()) m_appPath = ExeFolder();
    if (!m_appPath.empty() && m_appPath.back() != L'\\' && m_appPath.back() != L'/') m_appPath += L'\\';
}

void CCore::FindStore() {
    if (m_storePath.empty()) m_storePath = StorePathFor(m_appPath);
}

void CCore::LoadStore() {
    FindStore();
    if (m_storePath.empty()) {
        m_notSavedReason = L"no folder for settings was found";
        return;
    }
    const DWORD attributes = GetFileAttributesW(m_storePath.c_str());
    const DWORD error = attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : ERROR_SUCCESS;
    // Only these mean the file is not there; a file that is there but cannot be
    // looked at (denied, held open) must not be written over with defaults.
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
        ChooseLanguage();
        m_store.AddMissingDefaults();
        m_storeMissing = true;
        return;
    }
    LoadExistingFile(attributes);
    ChooseLanguage();
}

void CCore::CreateMissingStore() {
    if (!m_storeMissing) return;
    m_storeMissing = false;
    SaveMerged(nullptr);  // merges with a file another clock may have written meanwhile
}

void CCore::ChooseLanguage() {
    m_language = ChooseUiLanguage(m_store.GetText(setting_keys::kLanguage), GetUserDefaultUILanguage());
    m_store.SetLocalDefaults({{setting_keys::kAlertText, DefaultAlertText(m_language)}});
}

void CCore::LoadExistingFile(DWORD attributes) {
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        m_notSavedReason = L"the settings path names a folder";
        return;
    }
    std::string bytes;
    const FileRead read = ReadWholeFile(m_storePath, kMaxSettingsFileBytes, bytes);
    if (read.outcome == ReadOutcome::Missing) {
        m_store.AddMissingDefaults();  // gone since it was looked at; the next save writes it
        return;
    }
    if (read.outcome != ReadOutcome::Read) {
        m_notSavedReason = UnreadableReason(read);
        return;
    }
    m_store.Load(bytes);
    m_show = ParseRunOfShow(bytes);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        m_notSavedReason = L"the settings file is marked read-only";
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
    NoteWrittenKey(m_written, key, m_store.GetText(key));
}

void CCore::saveConfigInt(const char* key, int32_t value) {
    m_store.SetInt(key, value);
    NoteWrittenKey(m_written, key, m_store.GetText(key));
}

void CCore::saveConfigStr(const char* key, const std::string& value) {
    m_store.SetText(key, value);
    NoteWrittenKey(m_written, key, m_store.GetText(key));
}

void CCore::saveShow(std::vector<ShowSegment> segments) {
    m_show.sectionFound = true;
    m_show.segments = segments;
    m_show.linesSkipped = 0;
    m_show.firstProblem.clear();
    m_writtenShow = std::move(segments);
}

bool CCore::commitConfig(SaveStepHook* hook) {
    if (!m_notSavedReason.empty() || m_storePath.empty()) return false;  // no autoFileConfig yet
    if (m_written.empty() && !m_writtenShow) return true;
    if (!SaveMerged(hook)) return false;
    m_written.clear();
    m_writtenShow.reset();
    return true;
}

bool CCore::SaveMerged(SaveStepHook* hook) const {
    const std::wstring folder = ParentFolder(m_storePath);
    if (!folder.empty() && GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
        SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    const FileHandle lock = AcquireStoreLock(m_storePath);
    if (!lock) return false;
    RemoveLeftoverFiles(m_storePath);
    // The file as it is now: the user may have edited it, or another clock saved.
    std::string disk;
    const FileRead read = ReadWholeFile(m_storePath, kMaxSettingsFileBytes, disk);
    std::optional<std::string> text;
    if (read.outcome == ReadOutcome::Missing)
        text = FreshSettingsText(m_written, m_store.GetLocalDefaults());
    else if (read.outcome == ReadOutcome::Read)
        text = MergeWrittenKeys(disk, m_written);
    if (text && m_writtenShow) text = MergeShow(*text, *m_writtenShow);
    return text && WriteFileAtomically(m_storePath, *text, hook);
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
    std::wstring text = Widen(texts.title) + L"\n" + Widen(texts.kind) + L" \u00B7 " + Widen(texts.shortName) + L" " +
                        Widen(texts.version) + L"\n\n" + LoadLocalizedString(IDS_ABOUT_KEYS) + L"\n\n" +
                        LoadLocalizedString(IDS_ABOUT_SETTINGS_FILE) + L"\n" +
                        (m_storePath.empty() ? LoadLocalizedString(IDS_ABOUT_NO_FILE) : m_storePath);
    if (!m_notSavedReason.empty()) text += L"\n" + LoadLocalizedString(IDS_ABOUT_NOT_SAVED) + m_notSavedReason + L".";
    return text;
}

std::wstring CCore::uu(int operation, const tagSoft* soft, const std::wstring& text, HWND owner) {
    if (operation != kAboutOperation) return {};
    const std::wstring title = soft ? Widen(ReadProductRecord(*soft).title) : std::wstring();
    // The caller's text, when there is any, says what the clock itself knows
    // (what it could not do on this system, for instance).
    const std::wstring about = text.empty() ? AboutText(soft) : AboutText(soft) + L"\n\n" + text;
    MessageBoxW(owner, about.c_str(), title.c_str(), MB_OK | MB_ICONINFORMATION);
    return {};
}

}  // namespace tallyglass
