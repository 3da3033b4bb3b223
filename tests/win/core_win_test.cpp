#include <gtest/gtest.h>

#include <thread>

#include "core/core_win.h"
#include "core/store_files.h"
#include "framework/resource_language_win.h"
#include "res/resource.h"
#include "tests/win/win_test_support.h"

namespace {
const std::string kOld = "; keep me\r\n[settings]\r\nzebra=stripes\r\ndjsseconds=111\r\n";

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

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

TEST(Store, ACrashAtAnyStepLeavesTheOldOrTheNewFile) {
    for (SaveStep step : {SaveStep::TempHalfWritten, SaveStep::TempWritten, SaveStep::Replaced}) {
        TempFolder folder;
        const std::wstring path = folder.File(L"TallyglassCountdown.ini");
        WriteFileBytes(path, kOld);
        {
            CCore core(path, folder.Path());
            core.autoFileConfig();
            core.saveConfigInt("djsseconds", 333);
            CrashAt crash(step);
            core.commitConfig(&crash);
        }
        CCore next(path, folder.Path());  // the next start
        next.autoFileConfig();
        if (step == SaveStep::Replaced)
            EXPECT_EQ(next.getConfigInt("djsseconds"), 333);
        else
            EXPECT_EQ(ReadFileBytes(path), kOld) << static_cast<int>(step);
        // The next save goes through despite the leftover temporary file, changing
        // only the written key's line.
        next.saveConfigInt("djsseconds", 444);
        ASSERT_TRUE(next.commitConfig());
        EXPECT_EQ(ReadFileBytes(path), "; keep me\r\n[settings]\r\nzebra=stripes\r\ndjsseconds=444\r\n");
        ExpectNoFilesBeside(path);
    }
}

TEST(Store, FirstStartWritesDefaultsAndAFileBesideTheExeWins) {
    TempFolder folder;
    CCore roaming(folder.File(L"sub\\TallyglassCountdown.ini"), folder.Path());  // folder made when needed
    roaming.autoFileConfig();
    const std::string written = ReadFileBytes(roaming.StorePath());
    for (const auto& key : SettingKeys())
        EXPECT_NE(written.find(std::string(key.name) + " ="), std::string::npos) << key.name;
    DeleteFileW(roaming.StorePath().c_str());
    RemoveDirectoryW(folder.File(L"sub").c_str());

    WriteFileBytes(folder.File(L"TallyglassCountdown.ini"), "[settings]\ndjsseconds=77\n");
    CCore portable({}, folder.Path());
    portable.autoFileConfig();
    EXPECT_EQ(portable.StorePath(), folder.File(L"TallyglassCountdown.ini"));
    EXPECT_EQ(portable.getConfigInt("djsseconds"), 77);

    // When the program's own folder is unknown, only the roaming place is used.
    const std::wstring roamingPath = StorePathFor(L"");
    EXPECT_NE(roamingPath, portable.StorePath());
    EXPECT_EQ(roamingPath, StorePathFor(folder.File(L"none\\")));
}

// Read-only and locked files are the table further down.
TEST(Store, AFolderThatCannotBeMadeGivesDefaultsAndNoSave) {
    TempFolder folder;
    // A folder that cannot exist (its parent is a file).
    WriteFileBytes(folder.File(L"plainfile"), "x");
    CCore nowhere(folder.File(L"plainfile\\TallyglassCountdown.ini"), folder.Path());
    nowhere.autoFileConfig();
    EXPECT_EQ(nowhere.getConfigInt("djsseconds"), 600);
    nowhere.saveConfigInt("djsseconds", 1);
    EXPECT_FALSE(nowhere.commitConfig());
}
}  // namespace

namespace {
TEST(Store, ASaveKeepsWhatWasEditedOnDiskWhileTheClockRan) {
    const struct {
        const char* what;
        const char* onDiskAtExit;  // null: the file was deleted
        int32_t djsseconds;
        const char* kept;
    } cases[] = {
        {"edited", "; mine\r\n[settings]\r\nfontname=Verdana\r\ndjsseconds=42\r\nnew=key\r\n", 42,
         "; mine\r\n[settings]\r\nfontname=Verdana\r\ndjsseconds=42\r\nnew=key\r\nposleft = -7\r\nnobg = 1\r\n"},
        {"deleted", nullptr, 600, "fontname = Arial"},  // written anew with the defaults
    };
    for (const auto& c : cases) {
        TempFolder folder;
        const std::wstring path = folder.File(L"TallyglassCountdown.ini");
        WriteFileBytes(path, kOld);
        CCore core(path, folder.Path());
        core.autoFileConfig();
        if (c.onDiskAtExit)
            WriteFileBytes(path, c.onDiskAtExit);
        else
            DeleteFileW(path.c_str());
        core.saveConfigInt("posleft", -7);
        core.saveConfigB("nobg", true);
        ASSERT_TRUE(core.commitConfig()) << c.what;
        CCore next(path, folder.Path());
        next.autoFileConfig();
        EXPECT_EQ(next.getConfigInt("posleft"), -7) << c.what;
        EXPECT_TRUE(next.getConfigB("nobg")) << c.what;
        EXPECT_EQ(next.getConfigInt("djsseconds"), c.djsseconds) << c.what;
        EXPECT_NE(ReadFileBytes(path).find(c.kept), std::string::npos) << c.what;
        ExpectNoFilesBeside(path);
    }
}

TEST(Store, TwoClocksSavingAtTheSameMomentLoseNothing) {
    TempFolder folder;
    const std::wstring path = folder.File(L"TallyglassCountdown.ini");
    WriteFileBytes(path, kOld);
    const KernelHandle go(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    for (int32_t round = 0; round < 40; ++round) {
        CCore left(path, folder.Path()), top(path, folder.Path());
        left.autoFileConfig();
        top.autoFileConfig();
        left.saveConfigInt("posleft", round);
        top.saveConfigInt("postop", 1000 + round);
        bool leftSaved = false, topSaved = false;
        ResetEvent(go.get());
        std::thread first([&] { WaitForSingleObject(go.get(), INFINITE), leftSaved = left.commitConfig(); });
        std::thread second([&] { WaitForSingleObject(go.get(), INFINITE), topSaved = top.commitConfig(); });
        SetEvent(go.get());
        first.join();
        second.join();
        ASSERT_TRUE(leftSaved && topSaved) << round;
        CCore next(path, folder.Path());
        next.autoFileConfig();
        ASSERT_EQ(next.getConfigInt("posleft"), round);
        ASSERT_EQ(next.getConfigInt("postop"), 1000 + round);
        ASSERT_EQ(next.getConfigInt("djsseconds"), 111);  // nobody wrote it
    }
    const std::string saved = ReadFileBytes(path);
    for (const char* kept : {"; keep me\r\n", "zebra=stripes\r\n"})
        EXPECT_NE(saved.find(kept), std::string::npos) << kept;
    ExpectNoFilesBeside(path);
}

TEST(Store, LeftoversOfACrashedClockGoAtTheNextSave) {
    TempFolder folder;
    const std::wstring path = folder.File(L"TallyglassCountdown.ini");
    WriteFileBytes(path, kOld);
    const uint32_t gone = 0xFFFFFFF0;  // no process has this id
    const std::wstring leftovers[] = {TempFileName(path, gone), BackupFileName(path, gone)};
    for (const auto& leftover : leftovers) WriteFileBytes(leftover, "half");
    WriteFileBytes(path + L".notes", "mine");
    CCore core(path, folder.Path());
    core.autoFileConfig();
    core.saveConfigInt("djsseconds", 5);
    ASSERT_TRUE(core.commitConfig());
    for (const auto& leftover : leftovers) EXPECT_FALSE(Exists(leftover));
    EXPECT_TRUE(Exists(path + L".notes"));
}

TEST(Store, AFileThatCannotBeWrittenIsKnownAtStartAndLeftAlone) {
    const struct {
        const char* what;
        DWORD attributes;
        bool heldOpen;
        const wchar_t* reason;
    } cases[] = {
        {"read-only", FILE_ATTRIBUTE_READONLY, false, L"read-only"},
        {"held open by another program", FILE_ATTRIBUTE_NORMAL, true, L"in use"},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        const std::wstring path = folder.File(L"TallyglassCountdown.ini");
        WriteFileBytes(path, kOld);
        SetFileAttributesW(path.c_str(), c.attributes);
        CCore core(path, folder.Path());
        {
            FileHandle holder(c.heldOpen
                                  ? CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                                  : INVALID_HANDLE_VALUE);
            core.autoFileConfig();
        }
        EXPECT_NE(core.NotSavedReason().find(c.reason), std::wstring::npos) << c.what;
        EXPECT_NE(core.AboutText(nullptr).find(LoadLocalizedString(IDS_ABOUT_NOT_SAVED) + core.NotSavedReason()),
                  std::wstring::npos);
        core.saveConfigInt("djsseconds", 555);
        EXPECT_FALSE(core.commitConfig()) << c.what;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(ReadFileBytes(path), kOld) << c.what;
    }
}

TEST(Store, AFileHeldOpenAtExitIsNotWrittenThenSavedLater) {
    TempFolder folder;
    const std::wstring path = folder.File(L"TallyglassCountdown.ini");
    WriteFileBytes(path, kOld);
    CCore core(path, folder.Path());
    core.autoFileConfig();
    core.saveConfigInt("fsizealert", 123);
    {
        const FileHandle holder(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        EXPECT_FALSE(core.commitConfig());
    }
    EXPECT_EQ(ReadFileBytes(path), kOld);
    ASSERT_TRUE(core.commitConfig());  // the change was kept for the next try
    EXPECT_NE(ReadFileBytes(path).find("fsizealert = 123"), std::string::npos);
    ExpectNoFilesBeside(path);
}
}  // namespace
