// The run log's lines: what each order did, by which way in, and the end of each phase,
// as one CSV line a spreadsheet reads whatever a segment is called.
#include <gtest/gtest.h>

#include "clock/run_log.h"
#include "clock/run_report.h"

using namespace tallyglass;

namespace {
TEST(RunLog, EachOrderThatChangedSomethingAndEachPhaseEndIsOneLine) {
    CountdownModel model;
    model.m_show = {{"Q&A, \"live\"", 600}};
    model.m_countdownSeconds = 600;
    model.m_running = 1;
    model.m_remaining = 540;
    ClockCommand pause;
    pause.kind = CommandKind::PauseOrResume;
    pause.wayIn = WayIn::Osc;
    model.m_paused = 1;
    const auto paused = LogEventFor(pause, model, true);
    ASSERT_TRUE(paused);
    EXPECT_EQ(RunLogLine("2026-12-07T14:32:05+01:00", *paused),
              "2026-12-07T14:32:05+01:00,pause,\"Q&A, \"\"live\"\"\",540,OSC");
    model.m_paused = 0;
    EXPECT_EQ(LogEventFor(pause, model, true)->event, "resume");
    EXPECT_FALSE(LogEventFor(pause, model, false));  // changed nothing: no line
    ClockCommand blackout;
    blackout.kind = CommandKind::BlackoutOn;
    EXPECT_FALSE(LogEventFor(blackout, model, true));  // the view page's, not the show's course

    model.m_warnSeconds = 60;
    model.m_remaining = 60;
    ASSERT_EQ(PhaseEnds("counting", "Q&A", model).size(), 1u);
    EXPECT_EQ(PhaseEnds("counting", "Q&A", model)[0].event, "counting ended");
    EXPECT_EQ(PhaseEnds("counting", "Q&A", model)[0].wayIn, "clock");
    EXPECT_TRUE(PhaseEnds("warning", "Q&A", model).empty());
    model.m_running = 0;
    EXPECT_EQ(PhaseEnds("alert", "Earlier", model)[0].remaining, 600);      // back to idle: the segment's length
    EXPECT_EQ(PhaseEnds("alert", "Earlier", model)[0].segment, "Earlier");  // where it ended, not where the show went
    EXPECT_TRUE(PhaseEnds("idle", "Q&A", model).empty());
}
// The report from a log as the clock writes it: a run with a pause and minutes more and
// less that ended on its own at zero, a run in overtime ended by a reset, a segment run
// twice, and lines that are not the log's skipped.
TEST(RunLog, TheReportHasARowPerRunPlannedAgainstActual) {
    const std::vector<ShowSegment> show{{"Welcome", 300, 9 * 3600}, {"Q&A, live", 600, std::nullopt}};
    const std::string log =
        "time,event,segment,remaining,way_in\r\n"
        "2026-12-07T09:01:00+01:00,start,Welcome,300,key\r\n"
        "2026-12-07T09:02:00+01:00,pause,Welcome,240,page\r\n"
        "2026-12-07T09:02:30+01:00,resume,Welcome,240,page\r\n"
        "2026-12-07T09:03:00+01:00,add +60,Welcome,270,OSC\r\n"
        "2026-12-07T09:03:10+01:00,add -30,Welcome,230,OSC\r\n"
        "not a line of the log, at all\r\n"
        "2026-12-07T09:07:00+01:00,counting ended,Welcome,0,clock\r\n"
        "2026-12-07T09:08:00+01:00,alert ended,Welcome,300,clock\r\n"
        "2026-12-07T09:10:00+01:00,start,\"Q&A, live\",600,API\r\n"
        "2026-12-07T09:20:00+01:00,counting ended,\"Q&A, live\",0,clock\r\n"
        "2026-12-07T09:22:05+01:00,reset,\"Q&A, live\",600,hot key\r\n"
        "2026-12-07T09:30:00+01:00,start,Welcome,300,key\r\n"
        "2026-12-07T09:31:00+01:00,pause,Welcome,240,key\r\n"
        "2026-12-07T09:33:00+01:00,segment,\"Q&A, live\",600,key\r\n";
    EXPECT_EQ(RunReport(log, show),
              "segment,planned_start,planned_length,actual_start,actual_end,duration,over,paused,adjusted\r\n"
              "Welcome,09:00,300,09:01:00,09:07:00,360,60,30,30\r\n"
              "\"Q&A, live\",09:05,600,09:10:00,09:22:05,725,125,0,0\r\n"
              "Welcome,09:00,300,09:30:00,09:33:00,180,-120,120,0\r\n");
}
}  // namespace
