#include <gtest/gtest.h>

#include <string>

#include "base/duration_text.h"
#include "clock/cue_list.h"
#include "clock/display_selection.h"
#include "clock/display_text.h"
#include "store/run_of_show.h"
#include "store/settings_merge.h"

using namespace tallyglass;

namespace {
TEST(RunOfShow, SegmentsInTheFilesOrderFromItsShowSectionOnly) {
    const RunOfShow show = ParseRunOfShow(
        "\xEF\xBB\xBF[settings]\nWelcome = 1m\n[ Show ]\r\n; the day\r\nWelcome = 5m\r\nKeynote=30m\r\n"
        "Break = 10m\nBreak = 0:10:00\n# done\n\n[other]\nQ&A = 10m\n");
    ASSERT_EQ(show.segments.size(), 4u);
    EXPECT_EQ(show.segments[0].name, "Welcome");
    EXPECT_EQ(show.segments[0].seconds, 300);
    EXPECT_EQ(show.segments[1].name, "Keynote");
    EXPECT_EQ(show.segments[3].name, "Break");  // a name may come twice: a show has more than one break
    EXPECT_EQ(show.segments[3].seconds, 600);
    EXPECT_EQ(show.linesSkipped, 0);
    EXPECT_EQ(DescribeRunOfShow(show), "Run of show: 4 segments.");
    EXPECT_EQ(DescribeRunOfShow(ParseRunOfShow("[settings]\ntitle=x\n")), "");
    EXPECT_FALSE(ParseRunOfShow("[settings]\nshow = 5m\n").sectionFound);
    // A NUL or a lone CR ends a line for the store, so a header after one ends the show for both.
    EXPECT_EQ(ParseRunOfShow(std::string("[show]\nA = 1m\n; x\0[settings]\rdjsseconds = 300\n", 46)).segments.size(),
              1u);
}

// A show edited in the settings window replaces only the section's segment lines (and
// lines it could not read), where they stood: the header, its comments, other sections
// and their line endings stay; the clock reads back exactly the segments written.
TEST(RunOfShow, AnEditedShowReplacesOnlyItsSegmentLines) {
    const std::vector<ShowSegment> edited{{"Welcome", 300}, {"Q&A <b>", 5400}, {"Close", 90}};
    const std::string file =
        "; mine\r\n[settings]\r\ntitle = Hall\r\n[Show]\r\n; the day\r\nWelcome = 5m\r\nnot a line\r\n"
        "Talk = 20m\r\n; after\r\n[other]\r\nx = 1";
    EXPECT_EQ(MergeShow(file, edited),
              "; mine\r\n[settings]\r\ntitle = Hall\r\n[Show]\r\n; the day\r\nWelcome = 5m\r\nQ&A <b> = 1h30m\r\n"
              "Close = 1m30s\r\n; after\r\n[other]\r\nx = 1");
    const auto back = ParseRunOfShow(*MergeShow(file, edited)).segments;
    ASSERT_EQ(back.size(), edited.size());
    for (size_t i = 0; i < back.size(); ++i)
        EXPECT_EQ(back[i].name + FormatDuration(back[i].seconds), edited[i].name + FormatDuration(edited[i].seconds));
    // Without a section one is added at the end, after a last line that had no ending;
    // an emptied show keeps its header and its comments.
    EXPECT_EQ(MergeShow("[settings]\ntitle = x", {{"A", 60}}), "[settings]\ntitle = x\n[show]\nA = 1m\n");
    EXPECT_EQ(MergeShow("[show]\n# keep\nA = 1m\n[settings]\n", {}), "[show]\n# keep\n[settings]\n");
    EXPECT_EQ(MergeShow("", {{"A", 3661}}), "[show]\r\nA = 1h1m1s\r\n");
    EXPECT_FALSE(MergeShow(std::string(kMaxSettingsFileBytes + 1, ';'), edited));
}

// A segment may carry its planned start after "@"; it is written back the same way, and
// one that is not a time of day is named, never guessed.
TEST(RunOfShow, APlannedStartFollowsTheLengthAfterAnAt) {
    const RunOfShow show =
        ParseRunOfShow("[show]\nWelcome = 5m @ 09:30\nKeynote = 20m@9:35:30\nBreak = 10m\nLunch = 1h @ 25:00\n");
    ASSERT_EQ(show.segments.size(), 3u);
    EXPECT_EQ(show.segments[0].plannedStart, 9 * 3600 + 30 * 60);
    EXPECT_EQ(show.segments[1].plannedStart, 9 * 3600 + 35 * 60 + 30);
    EXPECT_FALSE(show.segments[2].plannedStart);
    EXPECT_EQ(show.firstProblem, "line 5, \"Lunch = 1h @ 25:00\": not a time of day after @");
    EXPECT_EQ(MergeShow("[show]\n", show.segments),
              "[show]\nWelcome = 5m @ 09:30\nKeynote = 20m @ 09:35:30\nBreak = 10m\n");
}

// A hostile section: the clock runs on what parses and About says what did not.
TEST(RunOfShow, AHostileSectionKeepsWhatParsesAndSaysWhatDidNot) {
    std::string text = "[show]\nsoon = later\n= 5m\nno equals\nZero = 0\n" + std::string(10000, 'N') + " = 1m\n";
    for (int i = 0; i < 1000; ++i) text += "Part " + std::to_string(i) + " = 1m\n";
    const RunOfShow show = ParseRunOfShow(text);
    ASSERT_EQ(show.segments.size(), kMaxSegments);
    EXPECT_EQ(show.segments[0].name, std::string(kMaxSegmentNameCodePoints, 'N'));
    EXPECT_EQ(show.segments[1].name, "Part 0");
    EXPECT_EQ(show.linesSkipped, 4 + 801);
    EXPECT_EQ(DescribeRunOfShow(show),
              "Run of show: 200 segments; 805 lines not used (line 2, \"soon = later\": not a length).");
    const RunOfShow cut = ParseRunOfShow("[show]\n" + std::string(79, 'a') + "\xE6\x97\xB6\xE9\x97\xB4 = 1m\n");
    EXPECT_EQ(cut.segments[0].name, std::string(79, 'a') + "\xE6\x97\xB6");  // never half a character
    const RunOfShow none = ParseRunOfShow("[show]\nx = y\n");
    EXPECT_TRUE(none.segments.empty());
    EXPECT_EQ(DescribeRunOfShow(none),
              "Run of show: 0 segments, so the clock runs as without one; 1 line not used (line 2, \"x = y\": not a "
              "length).");
}

TEST(Cues, ListedLengthsAndWhichStepReachesOne) {
    EXPECT_EQ(ParseCueList("5m, 1m,,30s 1m soon 0"), (std::vector<int32_t>{300, 60, 30}));
    EXPECT_TRUE(ParseCueList("").empty());
    const std::vector<int32_t> cues{300, 60};
    struct Row {
        int32_t before, after;
        bool reached;
    };
    for (const Row& r : {Row{301, 300, true}, Row{302, 300, true}, Row{301, 299, true}, Row{302, 298, false},
                         Row{300, 299, false}, Row{600, 60, true}, Row{600, 120, false}, Row{61, 58, false}})
        EXPECT_EQ(CueReached(cues, r.before, r.after), r.reached) << r.before << " -> " << r.after;
}

TEST(Faces, TheTimeOfDayAndWhatEachFaceShows) {
    EXPECT_EQ(FormatTimeOfDay(14 * 60 + 5, false), "14:05");
    EXPECT_EQ(FormatTimeOfDay(9 * 60 + 5, false), "09:05");
    EXPECT_EQ(FormatTimeOfDay(14 * 60 + 5, true), "2:05 PM");
    EXPECT_EQ(FormatTimeOfDay(5, true), "12:05 AM");
    EXPECT_EQ(FormatTimeOfDay(12 * 60, true), "12:00 PM");

    CountdownModel m;
    m.m_remaining = 600;
    m.m_idleClock = 1;
    m.m_localMinute = 14 * 60 + 5;
    m.m_colorNormal = 0xFF0000FF;
    DisplayChoice idle = SelectDisplay(m);
    EXPECT_EQ(idle.text, "14:05");
    EXPECT_EQ(idle.size, m.m_sizeNormal);
    EXPECT_EQ(idle.color, 0xFF0000FFu);
    m.m_titleText = "Hall A";  // a title wins over the time of day
    EXPECT_EQ(SelectDisplay(m).text, "Hall A");

    m.m_titleText.clear();
    m.m_elapsedFace = 1;
    m.m_running = 1;
    m.m_inAlert = 1;
    m.m_alertSeconds = 60;
    m.m_remaining = 55;
    m.m_alertText = "Time";
    EXPECT_EQ(SelectDisplay(m).text, "Time +0:05");  // the time over the length
    m.m_inAlert = 0;
    m.m_remaining = 200;
    m.m_cues = {200};
    m.m_cueFlash = 1;
    EXPECT_EQ(SelectDisplay(m).color >> 24, 0x3Fu);  // a cue's second flashes
}
}  // namespace
