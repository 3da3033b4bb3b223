#include <gtest/gtest.h>

#include "core/core_win.h"
#include "tests/win/win_test_support.h"

namespace {
const std::string kOld = "; keep me\r\n[settings]\r\nzebra=stripes\r\ndjsseconds=111\r\n";

TEST(Store, SaveReplacesTheFileKeepingUnknownKeysAndComments) {
    TempFolder folder;
    const std::wstring path = folder.File(L"TallyglassCountdown.ini");
    WriteFileBytes(path, kOld);
    CCore core(path, folder.Path());
    core.autoFileConfig();
    EXPECT_EQ(core.getConfigInt("djsseconds"), 111);
    core.saveConfigInt("djsseconds", 222);
    core.saveConfigB("nobg", true);
    ASSERT_TRUE(core.commitConfig());
    const std::string saved = ReadFileBytes(path);
    for (const char* kept : {"; keep me", "zebra = stripes", "djsseconds = 222", "nobg = 1"})
        EXPECT_NE(saved.find(kept), std::string::npos) << kept;
    EXPECT_EQ(GetFileAttributesW((path + L".new").c_str()), INVALID_FILE_ATTRIBUTES);  // no leftovers
}

TEST(Store, FirstStartWritesEveryKeyWithItsDefault) {
    TempFolder folder;
    const std::wstring path = folder.File(L"sub\\TallyglassCountdown.ini");  // folder made when needed
    CCore core(path, folder.Path());
    core.autoFileConfig();
    const std::string written = ReadFileBytes(path);
    for (const auto& key : SettingKeys())
        EXPECT_NE(written.find(std::string(key.name) + " ="), std::string::npos) << key.name;
    EXPECT_EQ(core.getConfigStr("fontname"), "Arial");
    DeleteFileW(path.c_str());
    RemoveDirectoryW(folder.File(L"sub").c_str());
}

TEST(Store, PortableFileBesideTheExeWins) {
    TempFolder folder;
    WriteFileBytes(folder.File(L"TallyglassCountdown.ini"), "[settings]\ndjsseconds=77\n");
    CCore core({}, folder.Path());
    core.autoFileConfig();
    EXPECT_EQ(core.StorePath(), folder.File(L"TallyglassCountdown.ini"));
    EXPECT_EQ(core.getConfigInt("djsseconds"), 77);
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
        const std::string after = ReadFileBytes(path);
        CCore next(path, folder.Path());  // the next start
        next.autoFileConfig();
        if (step == SaveStep::Replaced) {
            EXPECT_EQ(next.getConfigInt("djsseconds"), 333);
        } else {
            EXPECT_EQ(after, kOld) << static_cast<int>(step);
            EXPECT_EQ(next.getConfigInt("djsseconds"), 111);
        }
        // The next save goes through despite the leftover temporary file.
        next.saveConfigInt("djsseconds", 444);
        EXPECT_TRUE(next.commitConfig());
        EXPECT_NE(ReadFileBytes(path).find("djsseconds = 444"), std::string::npos);
    }
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
    nowhere.autoFileConfig();  // no crash, defaults
    EXPECT_EQ(nowhere.getConfigInt("djsseconds"), 600);
    nowhere.saveConfigInt("djsseconds", 1);
    EXPECT_FALSE(nowhere.commitConfig());
}

TEST(Store, AnOversizedFileIsNeverOverwritten) {
    TempFolder folder;
    const std::wstring path = folder.File(L"TallyglassCountdown.ini");
    const std::string huge(kMaxSettingsFileBytes + 10, ';');
    WriteFileBytes(path, huge);
    CCore core(path, folder.Path());
    core.autoFileConfig();
    EXPECT_EQ(core.getConfigInt("fsizenormal"), 72);
    core.saveConfigInt("fsizenormal", 80);
    EXPECT_FALSE(core.commitConfig());
    EXPECT_EQ(ReadFileBytes(path).size(), huge.size());
}

TEST(CoreServices, PathsAndFiles) {
    TempFolder folder;
    CCore core({}, folder.Path());
    const std::wstring appPath = core.getAppPath();
    EXPECT_EQ(appPath, folder.Path() + L"\\");
    WriteFileBytes(folder.File(L"alert.wav"), "RIFF");
    EXPECT_TRUE(core.isFileExist(folder.File(L"alert.wav")));
    EXPECT_FALSE(core.isFileExist(folder.Path()));  // a folder is not a file
    EXPECT_FALSE(core.isFileExist(folder.File(L"missing.wav")));
    const std::wstring shortPath = core.getPathShort(folder.File(L"alert.wav"));
    EXPECT_FALSE(shortPath.empty());
    EXPECT_NE(GetFileAttributesW(shortPath.c_str()), INVALID_FILE_ATTRIBUTES);  // names the same file
    EXPECT_EQ(ExeFolder().back(), L'\\');
}

TEST(CoreServices, AboutTextShowsTheProductAndTheSettingsFile) {
    TempFolder folder;
    CCore core(folder.File(L"TallyglassCountdown.ini"), folder.Path());
    core.autoFileConfig();
    tagSoft soft;
    FillProductRecord(soft, {"1.2.3", "Tallyglass", "Countdown", "TallyglassPPT\xE5\x80\x92\xE8\xAE\xA1\xE6\x97\xB6"});
    const std::wstring text = core.AboutText(&soft);
    for (const wchar_t* part : {L"TallyglassPPT\u5012\u8BA1\u65F6", L"Countdown", L"Tallyglass", L"1.2.3"})
        EXPECT_NE(text.find(part), std::wstring::npos) << part;
    EXPECT_NE(text.find(folder.File(L"TallyglassCountdown.ini")), std::wstring::npos);
}

TEST(CoreServices, ColoursFallBackToTheKeysDefault) {
    CCore core(L"", L"C:\\");
    EXPECT_EQ(core.getColor("#102030", "clrnormal"), 0xFF102030u);
    EXPECT_EQ(core.getColor("#GG0000", "clrnormal"), 0xFFFFFFFFu);
    EXPECT_EQ(core.getColor("", "clralert"), 0xFFFF3030u);
}
}  // namespace
