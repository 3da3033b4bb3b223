// The run log's lines: what each order did, by which way in, and the end of each phase,
// as one CSV line a spreadsheet reads whatever a segment is called.
#include <gtest/gtest.h>

#include "clock/run_log.h"

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
    ASSERT_EQ(PhaseEnds("counting", model).size(), 1u);
    EXPECT_EQ(PhaseEnds("counting", model)[0].event, "counting ended");
    EXPECT_EQ(PhaseEnds("counting", model)[0].wayIn, "clock");
    EXPECT_TRUE(PhaseEnds("warning", model).empty());
    model.m_running = 0;
    EXPECT_EQ(PhaseEnds("alert", model)[0].remaining, 600);  // back to idle: the segment's length
    EXPECT_TRUE(PhaseEnds("idle", model).empty());
}
}  // namespace
