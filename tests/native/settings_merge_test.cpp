#include <gtest/gtest.h>

#include <string>

#include "store/settings_merge.h"
#include "store/settings_store.h"

using namespace tallyglass;

namespace {
using namespace std::string_literals;

// What a user may have in the file when the clock exits, and what the save
// must make of it: only the written keys' lines change, byte for byte.
TEST(SettingsMerge, OnlyTheWrittenKeysLinesChange) {
    const struct {
        const char* why;
        std::string disk;
        WrittenKeys written;
        std::string expected;
    } cases[] = {
        {"edited while running, in LF, with a comment at the end",
         "[settings]\nfontname=Verdana\ndjsseconds = 600\ntitle=Talk\n; mine\n",
         {{"djsseconds", "1200"}, {"posleft", "-40"}},
         "[settings]\nfontname=Verdana\ndjsseconds = 1200\ntitle=Talk\nposleft = -40\n; mine\n"},
        {"the user's spacing, the byte-order mark and CRLF stay",
         "\xEF\xBB\xBF; clock\r\n[settings]\r\n  posleft\t=   7   \r\n\r\n",
         {{"posleft", "12"}},
         "\xEF\xBB\xBF; clock\r\n[settings]\r\n  posleft\t=   12   \r\n\r\n"},
        {"the last of a repeated key is the one read, and the one set; the comment above each stays",
         "[settings]\r\n; first\r\nnobg=0\r\n; second\r\nNOBG = 0\r\n",
         {{"nobg", "1"}},
         "[settings]\r\n; first\r\nnobg=0\r\n; second\r\nNOBG = 1\r\n"},
        {"a missing key goes at the end of the section, not into the next one",
         "[ Settings ]\nnobg=0\n\n; other things\n[other]\npostop=5\n",
         {{"postop", "9"}},
         "[ Settings ]\nnobg=0\npostop = 9\n\n; other things\n[other]\npostop=5\n"},
        {"a key before any header is set where it stands",
         "postop=1\r\n[settings]\r\nnobg=1\r\n",
         {{"postop", "2"}, {"wavalert", "0"}},
         "postop=2\r\n[settings]\r\nnobg=1\r\nwavalert = 0\r\n"},
        {"a section header only", "[settings]", {{"nobg", "1"}}, "[settings]\r\nnobg = 1\r\n"},
        {"no section: one is added after the last line, which had no ending",
         "; notes\r\n[other]\r\nx=1",
         {{"nobg", "1"}},
         "; notes\r\n[other]\r\nx=1\r\n[settings]\r\nnobg = 1\r\n"},
        {"lines that end in CR alone and LF alone: a new line never joins the blank one after it",
         "\r[settings]\0\n[other]\n"s,
         {{"nobg", "1"}},
         "\r[settings]\0nobg = 1\r\n\n[other]\n"s},
        {"an empty file", "", {{"nobg", "1"}}, "[settings]\r\nnobg = 1\r\n"},
        {"an empty value, a value made one line, a broken header and a stray line kept",
         "[settings\rstray\r[settings]\rtitle=\rnobg=\r",
         {{"title", "a\r\nb"}, {"nobg", "1"}},
         "[settings\rstray\r[settings]\rtitle=a  b\rnobg=1\r"},
        {"nothing written: nothing changes", "odd\0bytes=\xFF\n"s, {}, "odd\0bytes=\xFF\n"s},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MergeWrittenKeys(c.disk, c.written), c.expected) << c.why;
        SettingsStore store;
        store.Load(c.expected);
        for (const auto& [key, value] : c.written) {
            if (value.find('\n') != std::string::npos) continue;
            EXPECT_EQ(store.GetText(key), value) << c.why;
        }
    }
}

// A vanished file comes back with the defaults and the written keys.
TEST(SettingsMerge, ALastValueWinsAVanishedFileComesBackAndTooLargeTextIsLeftAlone) {
    SettingsStore store;
    store.Load(FreshSettingsText({{"fsizealert", "150"}, {"wavalert", "0"}, {"title", "a\r\ndjsseconds=1"}}));
    EXPECT_EQ(store.GetInt("fsizealert"), 150);
    EXPECT_FALSE(store.GetBool("wavalert"));
    EXPECT_EQ(store.GetInt("fsizenormal"), 72);
    EXPECT_EQ(store.GetInt("djsseconds"), 600);  // a value cannot smuggle a key into the file
    // A file made again takes the language's defaults where it is silent.
    store.Load(FreshSettingsText({{"nobg", "1"}}, LocalDefaults{{"alertstr", "TIME UP"}}));
    EXPECT_EQ(store.GetText("alertstr"), "TIME UP");
    WrittenKeys written;
    NoteWrittenKey(written, "postop", "1");
    NoteWrittenKey(written, "nobg", "0");
    NoteWrittenKey(written, "postop", "2");
    EXPECT_EQ(written, (WrittenKeys{{"postop", "2"}, {"nobg", "0"}}));

    EXPECT_FALSE(MergeWrittenKeys(std::string(kMaxSettingsFileBytes + 1, 'x'), written).has_value());
    EXPECT_TRUE(MergeWrittenKeys(std::string(kMaxSettingsFileBytes, 'x'), written).has_value());
}
}  // namespace
