#pragma once
// Core services: the settings store on disk, colours, the program folder, file
// checks, short paths and the about box.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/product_record.h"
#include "base/ui_language.h"
#include "core/atomic_file_win.h"
#include "store/config_access.h"
#include "store/run_of_show.h"
#include "store/settings_merge.h"
#include "store/settings_store.h"

namespace tallyglass {

constexpr wchar_t kSettingsFileName[] = L"TallyglassCountdown.ini";
constexpr int kAboutOperation = 4;

// The member names keep the interface of the maker's core services library.
class CCore : public ConfigAccess {
public:
    // An empty storePath picks the usual place (see autoFileConfig); an empty
    // appPath is the exe's folder, or none when the exe's path is unknown.
    explicit CCore(std::wstring storePath = {}, std::wstring appPath = {});

    // Loads the store; when there is none, writes one holding every key with its
    // default. Beside the exe when a file of that name is there (portable use),
    // otherwise %APPDATA%\Tallyglass. A file that is there but cannot be read,
    // or is marked read-only, is never written (see NotSavedReason).
    void autoFileConfig() {
        LoadStore();
        CreateMissingStore();
    }
    // Where autoFileConfig looks: the given path, else the usual place.
    void FindStore();
    // autoFileConfig's two halves: loading writes nothing, and a missing file is
    // written only by CreateMissingStore, which takes the lock that clocks sharing
    // the file take turns with (and so may wait): the clock calls it once it shows.
    void LoadStore();
    void CreateMissingStore();
    std::wstring getAppPath() const;

    bool getConfigB(const char* key) const override;
    int32_t getConfigInt(const char* key) const override;
    std::string getConfigStr(const char* key) const override;
    uint32_t getColor(const std::string& text, const char* key) const override;

    void saveConfigB(const char* key, bool value) override;
    void saveConfigInt(const char* key, int32_t value) override;
    void saveConfigStr(const char* key, const std::string& value);
    // The run of show as the settings window left it, written at the next commit in
    // place of the file's [show] section's segment lines.
    void saveShow(std::vector<ShowSegment> segments);
    // Sets the keys saved since the last commit in the file as it is on disk now,
    // leaving the rest of it as it is, in one atomic file write. Clocks sharing
    // the file take turns. False, with the old file intact, when it cannot be
    // read or written.
    bool commitConfig(SaveStepHook* hook = nullptr);

    bool isFileExist(const std::wstring& path) const;
    std::wstring getPathShort(const std::wstring& path) const;

    // Operation 4 shows the about information, owned by the given window, with the
    // given text below it.
    std::wstring uu(int operation, const tagSoft* soft, const std::wstring& text, HWND owner);
    std::wstring AboutText(const tagSoft* soft) const;

    // The interface language of this run, known once autoFileConfig has run:
    // the file's `language`, else the user's Windows interface language.
    UiLanguage Language() const { return m_language; }
    // The file's [show] section as it was read at start.
    const RunOfShow& Show() const { return m_show; }

    const std::wstring& StorePath() const { return m_storePath; }
    bool StoreWritable() const { return m_notSavedReason.empty(); }
    // Why settings will not be saved in this run; empty when they will be.
    const std::wstring& NotSavedReason() const { return m_notSavedReason; }

private:
    void LoadExistingFile(DWORD attributes);
    void ChooseLanguage();
    bool SaveMerged(SaveStepHook* hook) const;

    SettingsStore m_store;
    RunOfShow m_show;
    WrittenKeys m_written;
    std::optional<std::vector<ShowSegment>> m_writtenShow;
    std::wstring m_storePath;
    std::wstring m_appPath;
    std::wstring m_notSavedReason;
    UiLanguage m_language = UiLanguage::English;
    bool m_storeMissing = false;
};

// The exe's folder with a trailing separator; empty when its path is unknown.
std::wstring ExeFolder();
// Where a clock whose exe lives in appFolder keeps its settings: beside the exe
// when a settings file is there, otherwise in %APPDATA% (also when appFolder is
// empty); empty when neither is known.
std::wstring StorePathFor(const std::wstring& appFolder);

}  // namespace tallyglass
