#pragma once
// Core services: the settings store on disk, colours, the program folder, file
// checks, short paths and the about box.
#include <windows.h>

#include <cstdint>
#include <string>

#include "core/atomic_file_win.h"
#include "core/config_access.h"
#include "core/product_record.h"
#include "core/settings_store.h"

constexpr wchar_t kSettingsFileName[] = L"TallyglassCountdown.ini";
constexpr int kAboutOperation = 4;

// The names (CCore, getConfigB, uu, ...) keep the interface of the maker's core services library.
class CCore : public ConfigAccess {
public:
    // An empty storePath picks the usual place (see autoFileConfig); an empty
    // appPath is the exe's folder.
    explicit CCore(std::wstring storePath = {}, std::wstring appPath = {});

    // Loads the store; when there is none, writes one holding every key with its
    // default. Beside the exe when a file of that name is there (portable use),
    // otherwise %APPDATA%\Tallyglass.
    void autoFileConfig();
    std::wstring getAppPath() const;

    bool getConfigB(const char* key) const override;
    int32_t getConfigInt(const char* key) const override;
    std::string getConfigStr(const char* key) const override;
    uint32_t getColor(const std::string& text, const char* key) const override;

    void saveConfigB(const char* key, bool value) override;
    void saveConfigInt(const char* key, int32_t value) override;
    // Writes every change since the last commit in one atomic file write.
    // False, with the old file intact, when the store cannot be written.
    bool commitConfig(SaveStepHook* hook = nullptr);

    bool isFileExist(const std::wstring& path) const;
    std::wstring getPathShort(const std::wstring& path) const;

    // Operation 4 shows the about information, owned by the given window.
    std::wstring uu(int operation, const tagSoft* soft, const std::wstring& text, HWND owner);
    std::wstring AboutText(const tagSoft* soft) const;

    const std::wstring& StorePath() const { return m_storePath; }
    bool StoreWritable() const { return m_writable; }

private:
    SettingsStore m_store;
    std::wstring m_storePath;
    std::wstring m_appPath;
    bool m_writable = true;
    bool m_dirty = false;
};

std::wstring ExeFolder();
