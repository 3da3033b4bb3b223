#include <gtest/gtest.h>

#include "countdown/command_line.h"
#include "countdown/duration_text.h"
#include "countdown/hot_key_text.h"

namespace {
namespace mod = hot_key_modifier;

TEST(HotKeyText, ParsesWhatTheSettingsHoldAndRefusesTheRest) {
    struct Case {
        const char* text;
        HotKeyParse outcome;
        uint32_t modifiers, key;
    };
    const Case cases[] = {
        {"Ctrl+Alt+F2", HotKeyParse::Ok, mod::kControl | mod::kAlt, 0x71},
        {"  ctrl + SHIFT + p ", HotKeyParse::Ok, mod::kControl | mod::kShift, 'P'},
        {"Control+Win+F24", HotKeyParse::Ok, mod::kControl | mod::kWin, 0x87},
        {"Alt+F1", HotKeyParse::Ok, mod::kAlt, 0x70},
        {"Ctrl+Alt+PageUp", HotKeyParse::Ok, mod::kControl | mod::kAlt, 0x21},
        {"ctrl+alt+page down", HotKeyParse::Ok, mod::kControl | mod::kAlt, 0x22},
        {"Shift+Home", HotKeyParse::Ok, mod::kShift, 0x24},
        {"Shift+End", HotKeyParse::Ok, mod::kShift, 0x23},
        {"Alt+Space", HotKeyParse::Ok, mod::kAlt, 0x20},
        {"Alt+Left", HotKeyParse::Ok, mod::kAlt, 0x25},
        {"Alt+Down", HotKeyParse::Ok, mod::kAlt, 0x28},
        {"Ctrl+7", HotKeyParse::Ok, mod::kControl, '7'},
        {"", HotKeyParse::Off, 0, 0},
        {"   ", HotKeyParse::Off, 0, 0},
        {"F2", HotKeyParse::NoModifier, 0, 0x71},
        {"p", HotKeyParse::NoModifier, 0, 'P'},
        {"Ctrl+Alt", HotKeyParse::NotUnderstood, 0, 0},
        {"Ctrl+", HotKeyParse::NotUnderstood, 0, 0},
        {"+F2", HotKeyParse::NotUnderstood, 0, 0},
        {"Ctrl++F2", HotKeyParse::NotUnderstood, 0, 0},
        {"Ctrl+Ctrl+F2", HotKeyParse::NotUnderstood, 0, 0},
        {"Ctrl+F25", HotKeyParse::NotUnderstood, 0, 0},
        {"Ctrl+F0", HotKeyParse::NotUnderstood, 0, 0},
        {"Ctrl+F02", HotKeyParse::NotUnderstood, 0, 0},
        {"Ctrl+F", HotKeyParse::Ok, mod::kControl, 'F'},
        {"Hyper+F2", HotKeyParse::NotUnderstood, 0, 0},
        {"Ctrl+Alt+Enter", HotKeyParse::NotUnderstood, 0, 0},
        {"Ctrl+ä", HotKeyParse::NotUnderstood, 0, 0},
        {"F2+Ctrl", HotKeyParse::NotUnderstood, 0, 0},
    };
    for (const Case& c : cases) {
        const ParsedHotKey parsed = ParseHotKeyText(c.text);
        EXPECT_EQ(parsed.outcome, c.outcome) << '"' << c.text << '"';
        if (c.outcome == HotKeyParse::Ok || c.outcome == HotKeyParse::NoModifier) {
            EXPECT_EQ(parsed.key, (HotKey{c.modifiers, c.key})) << c.text;
        }
    }
}

TEST(HotKeyText, FormatsInAFixedOrderThatParsesBack) {
    for (const char* text : {"Ctrl+Alt+F2", "Ctrl+Alt+Shift+Win+PageDown", "Shift+Q", "Alt+9", "Win+Space"}) {
        const ParsedHotKey parsed = ParseHotKeyText(text);
        ASSERT_EQ(parsed.outcome, HotKeyParse::Ok) << text;
        EXPECT_EQ(FormatHotKey(parsed.key), text);
    }
    EXPECT_EQ(FormatHotKey(ParseHotKeyText("alt + ctrl + pgup").key), "Ctrl+Alt+PageUp");
}

TEST(DurationText, LengthsInEveryFormAndWhatIsNotOne) {
    struct Case {
        const char* text;
        int32_t seconds;  // 0: refused
    };
    const Case cases[] = {
        {"90", 90},
        {"45s", 45},
        {"20m", 1200},
        {"1h30m", 5400},
        {"1H30M15S", 5415},
        {"2h", 7200},
        {"1h15s", 3615},
        {"1:30:00", 5400},
        {"1:30", 90},
        {"0:05", 5},
        {"100:00:00", 360000},
        {"2147483647", INT32_MAX},
        {"0", 0},
        {"0s", 0},
        {"0:00:00", 0},
        {"2147483648", 0},
        {"99999999999", 0},
        {"999999999h", 0},
        {"", 0},
        {"-5", 0},
        {"+5", 0},
        {"1.5", 0},
        {"1h30", 0},
        {"30m1h", 0},
        {"1m1m", 0},
        {"h", 0},
        {"1x", 0},
        {"1:3", 0},
        {"1:60", 0},
        {"1:30:60", 0},
        {"1:2:3:4", 0},
        {":30", 0},
        {"1:30:", 0},
        {"1 m", 0},
        {"5 ", 0},
    };
    for (const Case& c : cases) {
        const auto parsed = ParseDuration(c.text);
        if (c.seconds == 0)
            EXPECT_FALSE(parsed.has_value()) << '"' << c.text << '"';
        else
            EXPECT_EQ(parsed, c.seconds) << '"' << c.text << '"';
    }
}

TEST(DurationText, UntilTheNextTimeOfDayFromAGivenLocalTime) {
    struct Case {
        const char* until;
        int32_t localSecondOfDay;
        int32_t seconds;  // 0: refused
    };
    const Case cases[] = {
        {"14:30", 14 * 3600, 1800},              // later today
        {"14:30", 14 * 3600 + 29 * 60 + 59, 1},  // a second before
        {"14:30", 14 * 3600 + 30 * 60, 86400},   // exactly then: the next one is tomorrow
        {"14:30", 15 * 3600, 23 * 3600 + 1800},  // passed: tomorrow
        {"0:00", 23 * 3600 + 59 * 60 + 30, 30},  // across midnight
        {"9:05", 0, 9 * 3600 + 300},
        {"23:59", 0, 86340},
        {"24:00", 0, 0},
        {"12:60", 0, 0},
        {"12", 0, 0},
        {"12:5", 0, 0},
        {"123:00", 0, 0},
        {"12:00:00", 0, 0},
        {"-1:00", 0, 0},
        {"", 0, 0},
        {"a:bc", 0, 0},
    };
    for (const Case& c : cases) {
        const auto minute = ParseClockTime(c.until);
        if (c.seconds == 0) {
            EXPECT_FALSE(minute.has_value()) << c.until;
            continue;
        }
        ASSERT_TRUE(minute.has_value()) << c.until;
        EXPECT_EQ(SecondsUntil(*minute, c.localSecondOfDay), c.seconds) << c.until << " at " << c.localSecondOfDay;
    }
}

TEST(CommandLine, EveryFormAndTheOrdersItGives) {
    using W = std::vector<std::string>;
    const ParsedCommandLine all = ParseCommandLine(W{"20m", "--start", "--reset", "--pause", "--add", "-60", "--add",
                                                     "+90", "--until", "14:30", "--settings", "C:\\x y\\c.ini"});
    ASSERT_TRUE(all.ok) << all.badWord;
    const ClockOrders& o = all.line.orders;
    EXPECT_EQ(o.length, 1200);
    EXPECT_TRUE(o.start && o.reset && o.pause);
    EXPECT_EQ(o.addSeconds, 30);
    EXPECT_EQ(o.untilMinute, 14 * 60 + 30);
    EXPECT_EQ(all.line.settingsPath, "C:\\x y\\c.ini");

    EXPECT_TRUE(ParseCommandLine({}).line.orders.Empty());
    const ParsedCommandLine onlyStore = ParseCommandLine(W{"--settings", "a.ini"});
    EXPECT_TRUE(onlyStore.ok && onlyStore.line.orders.Empty());  // a clock as today, with another file
    EXPECT_EQ(ParseCommandLine(W{"--add", "2147483647", "--add", "10"}).line.orders.addSeconds, INT32_MAX);
}

TEST(CommandLine, BadWordsAreNamed) {
    struct Case {
        std::vector<std::string> words;
        const char* badWord;
    };
    const Case cases[] = {
        {{"--stat"}, "--stat"},
        {{"-s"}, "-s"},
        {{"/start"}, "/start"},
        {{"ten"}, "ten"},
        {{"0"}, "0"},
        {{"20m", "5m"}, "5m"},
        {{"--add"}, "--add"},
        {{"--add", "1m"}, "1m"},
        {{"--add", "99999999999"}, "99999999999"},
        {{"--until", "25:00"}, "25:00"},
        {{"--until"}, "--until"},
        {{"--settings"}, "--settings"},
        {{"--settings", ""}, ""},
        {{"--start", "--START"}, "--START"},
        {{""}, ""},
    };
    for (const Case& c : cases) {
        const ParsedCommandLine parsed = ParseCommandLine(c.words);
        EXPECT_FALSE(parsed.ok) << c.badWord;
        EXPECT_EQ(parsed.badWord, c.badWord);
        EXPECT_FALSE(parsed.why.empty()) << c.badWord;
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
