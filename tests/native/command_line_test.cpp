#include <gtest/gtest.h>

#include "base/duration_text.h"
#include "command/command_line.h"
#include "command/hot_key_text.h"

using namespace tallyglass;

namespace {
namespace mod = hot_key_modifier;

// Read in any case and spacing, written back by About in one fixed order.
TEST(HotKeyText, ParsesWhatTheSettingsHoldFormatsItBackAndRefusesTheRest) {
    struct Case {
        const char* text;
        HotKeyParse outcome;
        uint32_t modifiers, key;
        const char* shown;
    };
    const uint32_t all = mod::kControl | mod::kAlt | mod::kShift | mod::kWin;
    const Case cases[] = {
        {"Ctrl+Alt+F2", HotKeyParse::Ok, mod::kControl | mod::kAlt, 0x71, "Ctrl+Alt+F2"},
        {"  ctrl + SHIFT + p ", HotKeyParse::Ok, mod::kControl | mod::kShift, 'P', "Ctrl+Shift+P"},
        {"Win+Shift+Alt+Control+F24", HotKeyParse::Ok, all, 0x87, "Ctrl+Alt+Shift+Win+F24"},
        {"Alt+F1", HotKeyParse::Ok, mod::kAlt, 0x70, "Alt+F1"},
        {"alt + ctrl + pgup", HotKeyParse::Ok, mod::kControl | mod::kAlt, 0x21, "Ctrl+Alt+PageUp"},
        {"ctrl+alt+page down", HotKeyParse::Ok, mod::kControl | mod::kAlt, 0x22, "Ctrl+Alt+PageDown"},
        {"Win+PgDn", HotKeyParse::Ok, mod::kWin, 0x22, "Win+PageDown"},
        {"Shift+Home", HotKeyParse::Ok, mod::kShift, 0x24, "Shift+Home"},
        {"Shift+End", HotKeyParse::Ok, mod::kShift, 0x23, "Shift+End"},
        {"Alt+Space", HotKeyParse::Ok, mod::kAlt, 0x20, "Alt+Space"},
        {"Alt+Left", HotKeyParse::Ok, mod::kAlt, 0x25, "Alt+Left"},
        {"Alt+Down", HotKeyParse::Ok, mod::kAlt, 0x28, "Alt+Down"},
        {"Ctrl+7", HotKeyParse::Ok, mod::kControl, '7', "Ctrl+7"},
        {"Ctrl+F", HotKeyParse::Ok, mod::kControl, 'F', "Ctrl+F"},
        {"F2", HotKeyParse::NoModifier, 0, 0x71, "F2"},
        {"p", HotKeyParse::NoModifier, 0, 'P', "P"},
        {"", HotKeyParse::Off, 0, 0, ""},
        {"   ", HotKeyParse::Off, 0, 0, ""},
    };
    for (const Case& c : cases) {
        const ParsedHotKey parsed = ParseHotKeyText(c.text);
        EXPECT_EQ(parsed.outcome, c.outcome) << '"' << c.text << '"';
        if (c.outcome != HotKeyParse::Off) {
            EXPECT_EQ(parsed.key, (HotKey{c.modifiers, c.key})) << c.text;
            EXPECT_EQ(FormatHotKey(parsed.key), c.shown);
        }
    }
    for (const char* refused : {"Ctrl+Alt", "Ctrl+", "+F2", "Ctrl++F2", "Ctrl+Ctrl+F2", "Ctrl+Control+F2", "Ctrl+F25",
                                "Ctrl+F0", "Ctrl+F02", "Hyper+F2", "Ctrl+Alt+Enter", "Ctrl+\xC3\xA4", "F2+Ctrl"})
        EXPECT_EQ(ParseHotKeyText(refused).outcome, HotKeyParse::NotUnderstood) << '"' << refused << '"';
}

TEST(DurationText, LengthsInEveryFormAndWhatIsNotOne) {
    const std::pair<const char*, int32_t> lengths[] = {
        {"90", 90},         {"45s", 45},  {"20m", 1200},         {"1h30m", 5400},
        {"1H30M15S", 5415}, {"2h", 7200}, {"1h15s", 3615},       {"1:30:00", 5400},
        {"1:30", 90},       {"0:05", 5},  {"100:00:00", 360000}, {"2147483647", INT32_MAX},
    };
    for (const auto& [text, seconds] : lengths) EXPECT_EQ(ParseDuration(text), seconds) << text;
    for (const char* refused : {"0",    "0s",      "0:00:00",    "2147483648", "99999999999", "999999999h", "",   "-5",
                                "+5",   "1.5",     "1h30",       "30m1h",      "1m1m",        "h",          "1x", "1:3",
                                "1:60", "1:30:60", "1:00:00:00", ":30",        "1:30:",       "1 m",        "5 "})
        EXPECT_FALSE(ParseDuration(refused).has_value()) << '"' << refused << '"';
}

TEST(DurationText, UntilTheNextTimeOfDayFromAGivenLocalTime) {
    struct Case {
        const char* until;
        int32_t localSecondOfDay;
        int32_t seconds;
    };
    const Case cases[] = {
        {"14:30", 14 * 3600, 1800},              // later today
        {"14:30", 14 * 3600 + 29 * 60 + 59, 1},  // a second before
        {"14:30", 14 * 3600 + 30 * 60, 86400},   // exactly then: the next one is tomorrow
        {"14:30", 15 * 3600, 23 * 3600 + 1800},  // passed: tomorrow
        {"0:00", 23 * 3600 + 59 * 60 + 30, 30},  // across midnight
        {"9:05", 0, 9 * 3600 + 300},
        {"23:59", 0, 86340},
    };
    for (const Case& c : cases) {
        const auto minute = ParseClockTime(c.until);
        ASSERT_TRUE(minute.has_value()) << c.until;
        EXPECT_EQ(SecondsUntil(*minute, c.localSecondOfDay), c.seconds) << c.until << " at " << c.localSecondOfDay;
    }
    for (const char* refused : {"24:00", "12:60", "12", "12:5", "123:00", "12:00:00", "-1:00", "", "a:bc"})
        EXPECT_FALSE(ParseClockTime(refused).has_value()) << '"' << refused << '"';
}

TEST(CommandLine, EveryFormAndTheOrdersItGives) {
    using W = std::vector<std::string>;
    const ParsedCommandLine all =
        ParseCommandLine(W{"20m", "--start", "--reset", "--pause", "--add", "-60", "--add", "+90", "--until", "14:30",
                           "--settings", "C:\\x y\\c.ini", "--show", "run.csv"});
    ASSERT_TRUE(all.ok) << all.badWord;
    const ClockOrders& o = all.line.orders;
    EXPECT_EQ(o.length, 1200);
    EXPECT_TRUE(o.start && o.reset && o.pause);
    EXPECT_EQ(o.addSeconds, 30);
    EXPECT_EQ(o.untilMinute, 14 * 60 + 30);
    EXPECT_EQ(all.line.settingsPath, "C:\\x y\\c.ini");
    EXPECT_EQ(all.line.showPath, "run.csv");
    const ClockOrders show = ParseCommandLine(W{"--segment", "3", "--next", "--next", "--previous"}).line.orders;
    EXPECT_EQ(show.segment, 3);
    EXPECT_EQ(show.segmentSteps, 1);
    EXPECT_FALSE(show.Empty());

    const ParsedCommandLine onlyStore = ParseCommandLine(W{"--settings", "a.ini"});
    EXPECT_TRUE(onlyStore.ok && onlyStore.line.orders.Empty());  // a clock as today, with another file
    EXPECT_EQ(ParseCommandLine(W{"--add", "2147483647", "--add", "10"}).line.orders.addSeconds, INT32_MAX);
}

// In each of these the last word is the one at fault (the values' own checks are the one table's).
TEST(CommandLine, BadWordsAreNamed) {
    using W = std::vector<std::string>;
    for (const W& words :
         {W{"--stat"}, W{"-s"}, W{"/start"}, W{"ten"}, W{"20m", "5m"}, W{"--add"}, W{"--add", "1m"}, W{"--until"},
          W{"--settings"}, W{"--settings", ""}, W{"--show"}, W{"--start", "--START"}, W{""}}) {
        const ParsedCommandLine parsed = ParseCommandLine(words);
        EXPECT_FALSE(parsed.ok) << words.back();
        EXPECT_EQ(parsed.badWord, words.back());
        EXPECT_FALSE(parsed.why.empty()) << words.back();
    }
}

TEST(CommandLine, HandedOverWordsLeaveTheSettingsFileBehindAndSurviveTheTrip) {
    using W = std::vector<std::string>;
    const W words{"--settings", "x.ini", "1:30", "--add", "-60", "--start", "", "\xE6\x97\xB6"};
    const W kept = WordsToHandOver(words);
    EXPECT_EQ(kept, (W{"1:30", "--add", "-60", "--start", "", "\xE6\x97\xB6"}));
    EXPECT_EQ(SplitWords(JoinWords(kept)), kept);
    EXPECT_TRUE(SplitWords(JoinWords({})).empty());
    EXPECT_EQ(SplitWords(std::string_view("--start", 7)), (W{"--start"}));  // no final NUL from a careless sender
}
}  // namespace
