#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "core/core_win.h"
#include "framework/resource_language_win.h"
#include "res/resource.h"
#include "shell/run_log_file_win.h"
#include "store/store_files.h"
#include "tests/win/win_test_support.h"

using namespace tallyglass;

namespace {
const std::string kOld = "; keep me\r\n[settings]\r\nzebra=stripes\r\ndjsseconds=111\r\n";
constexpr wchar_t kName[] = L"TallyglassCountdown.ini";

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
bool Holds(const std::wstring& path, const char* text) { return ReadFileBytes(path).find(text) != std::string::npos; }

// The old file, alone in a folder of its own.
struct OldFile {
    OldFile() { WriteFileBytes(path, kOld); }
    TempFolder folder;
    std::wstring path = folder.File(kName);
};

// A clock that has read the file at start and set one key for its save at exit.
std::unique_ptr<CCore> ClockSaving(const OldFile& file, const char* key, int32_t value) {
    auto core = std::make_unique<CCore>(file.path, file.folder.Path());
    core->autoFileConfig();
    core->saveConfigInt(key, value);
    return core;
}

// What the next start reads.
int32_t ReadBack(const OldFile& file, const char* key) {
    CCore next(file.path, file.folder.Path());
    next.autoFileConfig();
    return next.getConfigInt(key);
}

// A save leaves no temporary, backup or lock file behind.
void ExpectNoFilesBeside(const std::wstring& path) {
    for (const std::wstring& spare :
         {TempFileName(path, GetCurrentProcessId()), BackupFileName(path, GetCurrentProcessId()), LockFileName(path)})
        EXPECT_FALSE(Exists(spare)) << std::string(spare.begin(), spare.end());
}

class CrashAt : public SaveStepHook {
public:
    explicit CrashAt(SaveStep step) : m_step(step) {}
    bool ContinueAfter(SaveStep step) override { return step != m_step; }

private:
    SaveStep m_step;
};

TEST(Store, ACrashAtAnyStepLeavesTheOldOrTheNewFileAndTheNextSaveClearsUp) {
    for (SaveStep step : {SaveStep::TempHalfWritten, SaveStep::TempWritten, SaveStep::Replaced}) {
        const OldFile file;
        // Besides, what a clock that crashed earlier left, and a file of the user's.
        const uint32_t gone = 0xFFFFFFF0;  // no process has this id
        const std::wstring leftovers[] = {TempFileName(file.path, gone), BackupFileName(file.path, gone)};
        for (const auto& leftover : leftovers) WriteFileBytes(leftover, "half");
        WriteFileBytes(file.path + L".notes", "mine");
        CrashAt crash(step);
        ClockSaving(file, "djsseconds", 333)->commitConfig(&crash);
        if (step == SaveStep::Replaced)
            EXPECT_EQ(ReadBack(file, "djsseconds"), 333);
        else
            EXPECT_EQ(ReadFileBytes(file.path), kOld) << static_cast<int>(step);
        // The next save goes through despite the leftover temporary file, changing
        // only the written key's line.
        ASSERT_TRUE(ClockSaving(file, "djsseconds", 444)->commitConfig());
        EXPECT_EQ(ReadFileBytes(file.path), "; keep me\r\n[settings]\r\nzebra=stripes\r\ndjsseconds=444\r\n");
        ExpectNoFilesBeside(file.path);
        for (const auto& leftover : leftovers) EXPECT_FALSE(Exists(leftover));
        EXPECT_TRUE(Exists(file.path + L".notes"));
    }
}

TEST(Store, FirstStartMakesTheFolderAndWritesDefaultsAndAFileBesideTheExeWins) {
    TempFolder folder;
    CCore roaming(folder.File(L"sub\\TallyglassCountdown.ini"), folder.Path());  // folder made when needed
    roaming.autoFileConfig();
    EXPECT_TRUE(Holds(roaming.StorePath(), "djsseconds = 600"));  // each default is the native store table's
    DeleteFileW(roaming.StorePath().c_str());
    RemoveDirectoryW(folder.File(L"sub").c_str());
    // One that cannot be made (its parent is a file): the defaults, and no save.
    WriteFileBytes(folder.File(L"plainfile"), "x");
    CCore nowhere(folder.File(L"plainfile\\TallyglassCountdown.ini"), folder.Path());
    nowhere.autoFileConfig();
    EXPECT_EQ(nowhere.getConfigInt("djsseconds"), 600);
    nowhere.saveConfigInt("djsseconds", 1);
    EXPECT_FALSE(nowhere.commitConfig());

    WriteFileBytes(folder.File(kName), "[settings]\ndjsseconds=77\n");
    CCore portable({}, folder.Path());
    portable.autoFileConfig();
    EXPECT_EQ(portable.StorePath(), folder.File(kName));
    EXPECT_EQ(portable.getConfigInt("djsseconds"), 77);

    // When the program's own folder is unknown, only the roaming place is used.
    const std::wstring roamingPath = StorePathFor(L"");
    EXPECT_NE(roamingPath, portable.StorePath());
    EXPECT_EQ(roamingPath, StorePathFor(folder.File(L"none\\")));
}

TEST(Store, TwoClocksSavingAtTheSameMomentLoseNothing) {
    const OldFile file;
    const KernelHandle go(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    for (int32_t round = 0; round < 40; ++round) {
        const auto left = ClockSaving(file, "posleft", round), top = ClockSaving(file, "postop", 1000 + round);
        bool leftSaved = false, topSaved = false;
        ResetEvent(go.get());
        std::thread first([&] { WaitForSingleObject(go.get(), INFINITE), leftSaved = left->commitConfig(); });
        std::thread second([&] { WaitForSingleObject(go.get(), INFINITE), topSaved = top->commitConfig(); });
        SetEvent(go.get());
        first.join();
        second.join();
        ASSERT_TRUE(leftSaved && topSaved) << round;
        ASSERT_EQ(ReadBack(file, "posleft"), round);
        ASSERT_EQ(ReadBack(file, "postop"), 1000 + round);
    }
    EXPECT_EQ(ReadBack(file, "djsseconds"), 111);  // nobody wrote it
    for (const char* kept : {"; keep me\r\n", "zebra=stripes\r\n"}) EXPECT_TRUE(Holds(file.path, kept)) << kept;
    ExpectNoFilesBeside(file.path);
}

// A file deleted while the clock ran is written anew: the native merge table's
// vanished file, read as missing here as at the first start above.
// A file held open at exit, then let go, is the window's test (the save is tried again).
TEST(Store, AFileThatCannotBeWrittenIsKnownAtStartAndLeftAlone) {
    for (const bool readOnly : {true, false}) {  // else held open by another program
        const OldFile file;
        SetFileAttributesW(file.path.c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
        std::unique_ptr<CCore> core;
        {
            const FileHandle holder = readOnly ? FileHandle(nullptr) : HoldOpen(file.path);
            core = ClockSaving(file, "djsseconds", 555);
        }
        EXPECT_NE(core->NotSavedReason().find(readOnly ? L"read-only" : L"in use"), std::wstring::npos) << readOnly;
        EXPECT_NE(core->AboutText(nullptr).find(LoadLocalizedString(IDS_ABOUT_NOT_SAVED) + core->NotSavedReason()),
                  std::wstring::npos);
        EXPECT_FALSE(core->commitConfig()) << readOnly;
        SetFileAttributesW(file.path.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(ReadFileBytes(file.path), kOld) << readOnly;
    }
}
}  // namespace

namespace {
// What the settings window hands over is in the file at once, on a real file system: the
// changed keys' lines and the show's segment lines, every other byte as it was; the next
// start reads them back.
TEST(Store, TheSettingsWindowsChangesAreWrittenLineExactly) {
    OldFile file;
    WriteFileBytes(file.path, kOld + "; the day\r\n[show]\r\nWelcome = 5m\r\n; after\r\n");
    CCore core(file.path, file.folder.Path());
    core.autoFileConfig();
    core.saveConfigStr("title", "Hall B");
    core.saveShow({{"Welcome", 300}, {"Q&A", 600}});
    ASSERT_TRUE(core.commitConfig());
    EXPECT_EQ(ReadFileBytes(file.path),
              "; keep me\r\n[settings]\r\nzebra=stripes\r\ndjsseconds=111\r\ntitle = Hall B\r\n"
              "; the day\r\n[show]\r\nWelcome = 5m\r\nQ&A = 10m\r\n; after\r\n");
    CCore next(file.path, file.folder.Path());
    next.autoFileConfig();
    EXPECT_EQ(next.getConfigStr("title"), "Hall B");
    EXPECT_EQ(next.Show().segments.size(), 2u);
    ExpectNoFilesBeside(file.path);
}
}  // namespace

namespace {
// The run log on a real file system: a new file says its columns; New day sets the log
// aside as the one old file, and a log held open by another program stays where it is;
// past 1 MiB the log becomes the old file by itself.
TEST(RunLog, ANewDaySetsTheLogAsideAndAFullLogRollsOver) {
    TempFolder folder;
    const RunLogFile log(folder.File(kRunLogName));
    const std::wstring old = folder.File(L"TallyglassCountdown-log.old.csv");
    RunLogEvent event;
    event.event = "start";
    event.segment = "Keynote";
    log.Write(event);
    EXPECT_EQ(ReadFileBytes(log.Path()).rfind(std::string(kRunLogHeader) + "\r\n", 0), 0u);
    EXPECT_TRUE(log.NewDay());
    EXPECT_FALSE(Exists(log.Path()));
    EXPECT_TRUE(Holds(old, ",start,Keynote,"));
    event.segment = "Panel";
    log.Write(event);
    EXPECT_TRUE(Holds(log.Path(), ",start,Panel,"));
    EXPECT_FALSE(Holds(log.Path(), "Keynote"));
    {
        const FileHandle holder = HoldOpen(log.Path());
        EXPECT_FALSE(log.NewDay());
    }
    EXPECT_TRUE(Holds(log.Path(), ",start,Panel,"));
    EXPECT_TRUE(Holds(old, ",start,Keynote,"));

    WriteFileBytes(log.Path(), std::string(1024 * 1024 - 10, 'x'));
    event.segment = "Close";
    log.Write(event);
    EXPECT_EQ(ReadFileBytes(old).size(), 1024u * 1024 - 10);
    EXPECT_TRUE(Holds(log.Path(), ",start,Close,"));
}
}  // namespace
