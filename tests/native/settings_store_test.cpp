#include <gtest/gtest.h>

#include <string>

#include "store/settings_merge.h"
#include "store/settings_store.h"

using namespace tallyglass;

namespace {
// An empty file reads as the defaults, and the file a first start writes holds
// every key with them.
TEST(SettingsStore, DefaultsOfAnEmptyFileAndOfTheFileAFirstStartWrites) {
    SettingsStore empty, fresh;
    ASSERT_TRUE(empty.Load(""));
    fresh.Load(FreshSettingsText({}));
    for (const SettingsStore* store : {&empty, &fresh}) {
        EXPECT_FALSE(store->GetBool("nobg"));
        EXPECT_TRUE(store->GetBool("wavalert"));
        EXPECT_EQ(store->GetInt("fsizenormal"), 72);
        const std::pair<const char*, const char*> texts[] = {
            {"alertcenter", "1"},  {"fontname", "Arial"},    {"fsizealert", "96"},
            {"fsizetitle", "48"},  {"clrnormal", "#FFFFFF"}, {"clralert", "#FF3030"},
            {"djsseconds", "600"}, {"alertseconds", "60"},   {"alertstr", "\xE6\x97\xB6\xE9\x97\xB4\xE5\x88\xB0"},
            {"title", ""},         {"posleft", "0"},         {"postop", "0"},
        };
        for (const auto& [key, text] : texts) EXPECT_EQ(store->GetText(key), text) << key;
    }
    for (const auto& key : SettingKeys()) EXPECT_TRUE(fresh.Has(key.name)) << key.name;
}

TEST(SettingsStore, ValueSyntax) {
    SettingsStore store;
    store.Load(
        "\xEF\xBB\xBF[settings]\r\n"
        "nobg = YES \r\n"
        "wavalert=off\r\n"
        "alertcenter=maybe\r\n"
        "  fsizenormal   =   120  \r\n"
        "fsizealert=1234567890123456789012345678901234567890\r\n"
        "fsizetitle=-35\r\n"
        "djsseconds=2147483648\r\n"
        "alertseconds=-2147483648\r\n"
        "posleft=12abc\r\n"
        "postop=\r\n"
        "title=  Keynote  \r\n");
    EXPECT_TRUE(store.GetBool("nobg"));
    EXPECT_FALSE(store.GetBool("wavalert"));
    EXPECT_TRUE(store.GetBool("alertcenter"));  // unparseable: default on
    EXPECT_EQ(store.GetInt("fsizenormal"), 120);
    EXPECT_EQ(store.GetInt("fsizealert"), 96);   // 40 digits: default
    EXPECT_EQ(store.GetInt("fsizetitle"), -35);  // parses; correcting it is the window's job
    EXPECT_EQ(store.GetInt("djsseconds"), 600);  // one past INT32_MAX
    EXPECT_EQ(store.GetInt("alertseconds"), INT32_MIN);
    EXPECT_EQ(store.GetInt("posleft"), 0);
    EXPECT_EQ(store.GetInt("postop"), 0);
    EXPECT_EQ(store.GetText("title"), "Keynote");
}

TEST(SettingsStore, KeysWithoutHeaderRepeatedKeysAndOtherSections) {
    SettingsStore store;
    store.Load("djsseconds=30\nfsizenormal=50\n[Settings]\nfsizenormal=60\nFSIZENORMAL=70\n[other]\ndjsseconds=99\n");
    EXPECT_EQ(store.GetInt("djsseconds"), 30);   // before any header counts; other sections do not
    EXPECT_EQ(store.GetInt("fsizenormal"), 70);  // the last one wins, in any case
}

template <size_t N>
std::string Bytes(const char (&text)[N]) {
    return std::string(text, N - 1);  // NULs included
}

// Found by fuzzing: text that the parser would read wrongly (a header without
// its "]" swallowing the lines after it, a CR inside a header, byte-order marks
// inside the file) unless the store disarms it first.
TEST(SettingsStore, OddTextReadsAsAnEditorShowsIt) {
    const std::string cases[] = {
        Bytes("\0\0\0\0\0[\0\0\n]]]]]]]]]]\0\0\x01\t\0\x81\n[settings]\ndjsseconds=5\n"),
        Bytes("loose=!\n[o\0F#FFther]\nx=y\n[settings]\ndjsseconds=5\n"),
        "[settings]\n[ett\x1b\r]\ndjsseconds=5\n",
        "\xEF\xBB\xBF[settings]\n\xEF\xBB\xBF fsizenormal=99\ndjsseconds=5\n\t\xEF\xBB\xBF\t[x\n]\nclralert=#010203\n",
    };
    for (const std::string& text : cases) {
        SettingsStore store;
        store.Load(text);
        EXPECT_EQ(store.GetInt("djsseconds"), 5) << text;
    }
    SettingsStore marked;
    marked.Load(cases[3]);
    EXPECT_EQ(marked.GetInt("fsizenormal"), 99);
    EXPECT_EQ(marked.GetText("clralert"), "#010203");
}

TEST(SettingsStore, LargeFilesAreBoundedOrRefused) {
    std::string big = "[settings]\ndjsseconds=33\n;";
    big.resize(kMaxSettingsFileBytes, 'x');
    SettingsStore store;
    EXPECT_TRUE(store.Load(big));  // as large as a settings file may be
    EXPECT_EQ(store.GetInt("djsseconds"), 33);
    big += 'x';
    EXPECT_FALSE(store.Load(big));  // refused, defaults
    EXPECT_EQ(store.GetInt("djsseconds"), 600);
}
}  // namespace
