#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "store/store_files.h"

using namespace tallyglass;

namespace {
// A process id fits 32 bits; another settings file's, the lock and the file
// itself are no leftovers.
TEST(StoreFiles, LeftoversAreKnownByNameAndOwner) {
    EXPECT_EQ(LeftoverOwner(L"a.ini.1234.tmp", L"a.ini"), 1234u);
    EXPECT_EQ(LeftoverOwner(L"a.ini.4294967295.bak", L"a.ini"), 4294967295u);
    EXPECT_EQ(LeftoverOwner(TempFileName(L"a.ini", 77), L"a.ini"), 77u);
    EXPECT_EQ(LeftoverOwner(BackupFileName(L"a.ini", 78), L"a.ini"), 78u);
    EXPECT_NE(TempFileName(L"a.ini", 77), BackupFileName(L"a.ini", 77));
    for (const wchar_t* name :
         {L"a.ini.4294967296.tmp", L"a.ini.04294967295.tmp", L"a.ini.12x4.tmp", L"a.ini..tmp", L"a.ini.12.txt",
          L"a.ini.12.tmp.old", L"b.ini.12.tmp", L"a.ini.lock", L"a.ini", L"a.ini.", L"a.inix12.tmp", L"a.ini.12"})
        EXPECT_FALSE(LeftoverOwner(name, L"a.ini").has_value()) << name;
}

TEST(StoreFiles, ProgramFolderIsNeverADrivesRootByAccident) {
    EXPECT_EQ(FolderOfModule(L"C:\\Tools\\clock.exe"), L"C:\\Tools\\");
    EXPECT_EQ(FolderOfModule(L"C:\\clock.exe"), L"C:\\");
    EXPECT_EQ(FolderOfModule(L"\\\\server\\share\\clock.exe"), L"\\\\server\\share\\");
    for (const wchar_t* path : {L"", L"clock.exe", L"\\clock.exe"})  // the program's path not found, or no folder
        EXPECT_EQ(FolderOfModule(path), L"") << path;
}

// Files by name with their contents; each ReplaceFile result leaves the state
// that Windows documents for it.
class FakeFiles : public FileOperations {
public:
    std::map<std::wstring, std::string> files;
    ReplaceError replaceResult = ReplaceError::None;
    std::set<std::wstring> movesThatFail;

    bool Exists(const std::wstring& path) override { return files.count(path) > 0; }
    ReplaceError Replace(const std::wstring& replaced, const std::wstring& replacement,
                         const std::wstring& backup) override {
        switch (replaceResult) {
            case ReplaceError::None:
                files[backup] = files[replaced];
                files[replaced] = Take(replacement);
                break;
            case ReplaceError::UnableToMoveReplacement2:
                files[backup] = Take(replaced);
                break;
            default:  // with a backup name given, both files keep their names
                break;
        }
        return replaceResult;
    }
    bool MoveToNewName(const std::wstring& from, const std::wstring& to) override {
        if (!Exists(from) || Exists(to) || movesThatFail.count(from)) return false;
        files[to] = Take(from);
        return true;
    }
    bool Delete(const std::wstring& path) override { return files.erase(path) > 0; }

private:
    std::string Take(const std::wstring& path) {
        std::string contents = files[path];
        files.erase(path);
        return contents;
    }
};

TEST(StoreFiles, EveryReplaceOutcomeLeavesTheOldOrTheNewFile) {
    const std::wstring target = L"s.ini", temp = L"s.ini.9.tmp", backup = L"s.ini.9.bak";
    const struct {
        const char* what;
        bool targetExists;
        ReplaceError result;
        std::set<std::wstring> failingMoves;
        const char* remains;
        bool placed;
    } cases[] = {
        {"replaced", true, ReplaceError::None, {}, "new", true},
        {"old file cannot be removed", true, ReplaceError::UnableToRemoveReplaced, {}, "old", false},
        {"new file cannot be renamed", true, ReplaceError::UnableToMoveReplacement, {}, "old", false},
        {"other failure", true, ReplaceError::Other, {}, "old", false},
        {"old file moved aside, new moved in after", true, ReplaceError::UnableToMoveReplacement2, {}, "new", true},
        {"old file moved aside, brought back", true, ReplaceError::UnableToMoveReplacement2, {temp}, "old", false},
        {"first save", false, ReplaceError::None, {}, "new", true},
        {"first save cannot move", false, ReplaceError::None, {temp}, nullptr, false},
    };
    for (const auto& c : cases) {
        FakeFiles fake;
        fake.files[temp] = "new";
        if (c.targetExists) fake.files[target] = "old";
        fake.replaceResult = c.result;
        fake.movesThatFail = c.failingMoves;
        EXPECT_EQ(PutFileInPlace(fake, target, temp, backup), c.placed) << c.what;
        if (c.remains)
            EXPECT_EQ(fake.files[target], c.remains) << c.what;
        else
            EXPECT_FALSE(fake.Exists(target)) << c.what;
        EXPECT_EQ(fake.files.size(), c.remains ? 1u : 0u) << c.what;  // no spare copy left over
    }
}

TEST(StoreFiles, SpareCopiesStayWhileNothingIsUnderTheName) {
    FakeFiles fake;
    fake.files = {{L"s.ini", "old"}, {L"t", "new"}};
    fake.replaceResult = ReplaceError::UnableToMoveReplacement2;
    fake.movesThatFail = {L"t", L"b"};
    EXPECT_FALSE(PutFileInPlace(fake, L"s.ini", L"t", L"b"));
    EXPECT_EQ(fake.files, (std::map<std::wstring, std::string>{{L"b", "old"}, {L"t", "new"}}));
}
}  // namespace
