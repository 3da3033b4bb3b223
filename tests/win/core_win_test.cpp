#include <gtest/gtest.h>

#include "core/core_win.h"
#include "tests/win/win_test_support.h"

namespace {
const std::string kOld = "; keep me\r\n[settings]\r\nzebra=stripes\r\ndjsseconds=111\r\n";

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
        // The next save goes through despite the leftover temporary file, keeping
        // the comment and the unknown key.
        next.saveConfigInt("djsseconds", 444);
        ASSERT_TRUE(next.commitConfig());
        const std::string saved = ReadFileBytes(path);
        for (const char* kept : {"; keep me", "zebra = stripes", "djsseconds = 444"})
            EXPECT_NE(saved.find(kept), std::string::npos) << kept;
        EXPECT_EQ(GetFileAttributesW((path + L".new").c_str()), INVALID_FILE_ATTRIBUTES);
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
}

TEST(Store, AnUnwritableStoreKeepsTheOldFile) {
    TempFolder folder;
    const std::wstring path = folder.File(L"TallyglassCountdown.ini");
    WriteFileBytes(path, kOld);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    CCore core(path, folder.Path());
    core.autoFileConfig();
    core.saveConfigInt("djsseconds", 555);
    EXPECT_FALSE(core.commitConfig());
    EXPECT_EQ(ReadFileBytes(path), kOld);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);

    // A folder that cannot exist (its parent is a file).
    WriteFileBytes(folder.File(L"plainfile"), "x");
    CCore nowhere(folder.File(L"plainfile\\TallyglassCountdown.ini"), folder.Path());
    nowhere.autoFileConfig();
    EXPECT_EQ(nowhere.getConfigInt("djsseconds"), 600);
    nowhere.saveConfigInt("djsseconds", 1);
    EXPECT_FALSE(nowhere.commitConfig());
}
}  // namespace
