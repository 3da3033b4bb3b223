#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "core/settings_store.h"

namespace {
TEST(SettingsStore, DefaultsForAnEmptyOrMissingFile) {
    SettingsStore store;
    ASSERT_TRUE(store.Load(""));
    EXPECT_FALSE(store.GetBool("nobg"));
    EXPECT_TRUE(store.GetBool("wavalert"));
    EXPECT_EQ(store.GetInt("fsizenormal"), 72);
    const std::pair<const char*, const char*> texts[] = {
        {"alertcenter", "1"},  {"fontname", "Arial"},    {"fsizealert", "96"},
        {"fsizetitle", "48"},  {"clrnormal", "#FFFFFF"}, {"clralert", "#FF3030"},
        {"djsseconds", "600"}, {"alertseconds", "60"},   {"alertstr", "\xE6\x97\xB6\xE9\x97\xB4\xE5\x88\xB0"},
        {"title", ""},         {"posleft", "0"},         {"postop", "0"},
    };
    for (const auto& [key, text] : texts) EXPECT_EQ(store.GetText(key), text) << key;
}

TEST(SettingsStore, FileWithEveryDefaultReadsBackTheSame) {
    SettingsStore fresh;
    fresh.AddMissingDefaults();
    SettingsStore again;
    again.Load(fresh.Serialize());
    for (const auto& key : SettingKeys()) {
        EXPECT_TRUE(again.Has(key.name)) << key.name;
        EXPECT_EQ(again.GetText(key.name), key.defaultText) << key.name;
    }
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
    store.Load("djsseconds=30\nfsizenormal=50\n[settings]\nfsizenormal=60\nfsizenormal=70\n[other]\ndjsseconds=99\n");
    EXPECT_EQ(store.GetInt("djsseconds"), 30);   // before any header counts
    EXPECT_EQ(store.GetInt("fsizenormal"), 70);  // the last one wins
    store.SetInt("djsseconds", 45);
    SettingsStore again;
    again.Load(store.Serialize());
    EXPECT_EQ(again.GetInt("djsseconds"), 45);
    EXPECT_NE(store.Serialize().find("djsseconds = 99"), std::string::npos);  // other section untouched
}

// What a save keeps (comments, unknown keys, order, other sections) is the
// merge tests'; here, how values are written.
TEST(SettingsStore, ValuesAreWrittenAsKeyEqualsValueOnCrlfLines) {
    SettingsStore store;
    store.Load("[settings]\ndjsseconds=900\n");
    store.SetInt("djsseconds", 1200);
    store.SetBool("nobg", true);
    const std::string saved = store.Serialize();
    for (const char* line : {"[settings]\r\n", "djsseconds = 1200\r\n", "nobg = 1\r\n"})
        EXPECT_NE(saved.find(line), std::string::npos) << line;
    SettingsStore again;
    again.Load(saved);
    EXPECT_EQ(again.Serialize(), saved);  // stable once written
}

TEST(SettingsStore, HostileInputGivesDefaultsAndNoCrash) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919) & 0xFF);
    SettingsStore store;
    store.Load(garbage);
    EXPECT_EQ(store.GetInt("fsizealert"), 96);

    // A NUL byte must not hide the lines after it.
    store.Load(std::string("junk\0junk\n[settings]\ndjsseconds=77\n", 34));
    EXPECT_EQ(store.GetInt("djsseconds"), 77);

    // A value with a line break cannot smuggle a second key into the file.
    store.SetText("title", "a\r\ndjsseconds=1");
    SettingsStore again;
    again.Load(store.Serialize());
    EXPECT_EQ(again.GetInt("djsseconds"), 77);
}

template <size_t N>
std::string Bytes(const char (&text)[N]) {
    return std::string(text, N - 1);  // NULs included
}

// Found by fuzzing: text that the parser read one way and, once saved, another
// way (or that grew at every save). Values must survive save and reload.
TEST(SettingsStore, OddTextReadsTheSameAfterASave) {
    const std::string cases[] = {
        Bytes("\0\0\0\0\0[\0\0\n]]]]]]]]]]\0\0\x01\t\0\x81\n[settings]\ndjsseconds=5\n"),
        Bytes("loose=!\n[o\0F#FFther]\nx=y\n[settings]\ndjsseconds=5\n"),      // unclosed header
        "[settings]\ndjsseconds=5\n[ett\x1b\r]\nx=y\n",                        // CR inside a header
        "\xEF\xBB\xBF[settings]\n\xEF\xBB\xBF fsizenormal=99\ndjsseconds=5\n"  // marks inside the file
        "\t\xEF\xBB\xBF\t\xEF\xBB\xBF[\x01sen,,]=y\nclralert=#010203\n",
    };
    for (const std::string& text : cases) {
        SettingsStore first;
        first.Load(text);
        EXPECT_EQ(first.GetInt("djsseconds"), 5);
        first.SetInt("djsseconds", 1234);
        const std::string saved = first.Serialize();
        SettingsStore second;
        second.Load(saved);
        EXPECT_EQ(second.GetInt("djsseconds"), 1234);
        for (const auto& key : SettingKeys()) EXPECT_EQ(first.GetText(key.name), second.GetText(key.name)) << key.name;
        SettingsStore third;
        third.Load(second.Serialize());
        EXPECT_LE(third.Serialize().size(), saved.size() + 16);  // never grows
    }
}

TEST(SettingsStore, LargeFilesAreBoundedOrRefused) {
    std::string big = "[settings]\ndjsseconds=33\n";
    while (big.size() < 10u << 20) big += "padding_key_" + std::to_string(big.size()) + "=value\n";
    SettingsStore store;
    EXPECT_TRUE(store.Load(big));  // 10 MB is read
    EXPECT_EQ(store.GetInt("djsseconds"), 33);

    std::string huge(kMaxSettingsFileBytes + 1, 'x');
    EXPECT_FALSE(store.Load(huge));  // refused, defaults
    EXPECT_EQ(store.GetInt("djsseconds"), 600);
}
}  // namespace
