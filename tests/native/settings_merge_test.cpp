#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/settings_merge.h"
#include "core/settings_store.h"

namespace {
// What a user may have in the file when the clock exits.
const std::string kEdited =
    "; my clock\r\n[settings]\r\nfontname=Verdana\r\n# hall\r\nzebra=stripes\r\ndjsseconds=900\r\n"
    "[other]\r\nnobg=keep\r\n";

std::unique_ptr<SettingsStore> Loaded(const std::string& text) {
    auto store = std::make_unique<SettingsStore>();
    store->Load(text);
    return store;
}

TEST(SettingsMerge, OnlyTheWrittenKeysChange) {
    const WrittenKeys written{{"djsseconds", "1200"}, {"nobg", "1"}};
    const std::string merged = MergeWrittenKeys(kEdited, written).value();
    const auto store = Loaded(merged);
    EXPECT_EQ(store->GetInt("djsseconds"), 1200);
    EXPECT_TRUE(store->GetBool("nobg"));
    EXPECT_EQ(store->GetText("fontname"), "Verdana");  // the user's edit survives
    for (const char* kept : {"; my clock", "# hall", "zebra = stripes", "nobg = keep"})
        EXPECT_NE(merged.find(kept), std::string::npos) << kept;
    EXPECT_LT(merged.find("fontname"), merged.find("zebra"));
    EXPECT_LT(merged.find("zebra"), merged.find("djsseconds"));
    EXPECT_LT(merged.find("djsseconds"), merged.find("[other]"));
    EXPECT_EQ(MergeWrittenKeys(merged, written), merged);  // a second save changes nothing
}

TEST(SettingsMerge, KeysNotYetInTheFileAreAddedAndNothingElse) {
    const struct {
        const char* disk;
        size_t keysInFile;
    } cases[] = {
        {"", 1},
        {"[settings]\r\ndjsseconds=5\r\n", 2},
        {"posleft=3\r\n[settings]\r\n", 1},  // a key before any header is set where it is
    };
    for (const auto& c : cases) {
        const std::string merged = MergeWrittenKeys(c.disk, {{"posleft", "-40"}}).value();
        const auto store = Loaded(merged);
        EXPECT_EQ(store->GetInt("posleft"), -40) << c.disk;
        size_t keys = 0;
        for (const auto& key : SettingKeys()) keys += store->Has(key.name);
        EXPECT_EQ(keys, c.keysInFile) << c.disk;
    }
}

TEST(SettingsMerge, AVanishedFileComesBackWithDefaultsAndTheWrittenKeys) {
    // Every key with its default is the store's own test.
    const auto store = Loaded(FreshSettingsText({{"fsizealert", "150"}, {"wavalert", "0"}}));
    EXPECT_EQ(store->GetInt("fsizealert"), 150);
    EXPECT_FALSE(store->GetBool("wavalert"));
    EXPECT_EQ(store->GetInt("fsizenormal"), 72);
}

TEST(SettingsMerge, ALastValueWinsAndTooLargeTextIsLeftAlone) {
    WrittenKeys written;
    NoteWrittenKey(written, "postop", "1");
    NoteWrittenKey(written, "nobg", "0");
    NoteWrittenKey(written, "postop", "2");
    EXPECT_EQ(written, (WrittenKeys{{"postop", "2"}, {"nobg", "0"}}));

    EXPECT_FALSE(MergeWrittenKeys(std::string(kMaxSettingsFileBytes + 1, 'x'), written).has_value());
}
}  // namespace
