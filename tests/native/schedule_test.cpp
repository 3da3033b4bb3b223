// The show against the wall clock: the planned spans from a few planned starts, and
// how late or early the current segment is projected to end in each phase.
#include <gtest/gtest.h>

#include "clock/clock_notes.h"
#include "clock/display_selection.h"
#include "clock/schedule.h"

using namespace tallyglass;

namespace {
constexpr int32_t H = 3600, M = 60;

// Segments without a planned start follow on, those before the first lead up to it; a
// planned start before the end before it is used as given and said; a plan may run
// past midnight.
TEST(Schedule, PlannedSpansFollowOnFromThePlannedStarts) {
    const ShowPlan plan = PlanShow({{"Doors", 10 * M, std::nullopt},
                                    {"Welcome", 5 * M, 9 * H + 30 * M},
                                    {"Keynote", 20 * M, std::nullopt},
                                    {"Panel", 30 * M, 9 * H + 50 * M}});
    ASSERT_EQ(plan.spans.size(), 4u);
    const std::pair<int64_t, int64_t> expected[] = {{9 * H + 20 * M, 9 * H + 30 * M},
                                                    {9 * H + 30 * M, 9 * H + 35 * M},
                                                    {9 * H + 35 * M, 9 * H + 55 * M},
                                                    {9 * H + 50 * M, 10 * H + 20 * M}};
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(std::make_pair(plan.spans[i].start, plan.spans[i].end), expected[i]) << i;
    EXPECT_EQ(plan.firstOverlap, "Panel is planned at 09:50, before Keynote is planned to end at 09:55");
    EXPECT_TRUE(PlanShow({{"A", 60, std::nullopt}}).spans.empty());  // no planned start: no plan
    const ShowPlan late = PlanShow({{"Late show", 40 * M, 23 * H + 40 * M}, {"Encore", 10 * M, 0 * H + 25 * M}});
    EXPECT_EQ(late.spans[1].start, 24 * H + 25 * M);  // after midnight, the next day
    EXPECT_EQ(late.firstOverlap, "");
    // Planned to start just as the one before ends: no overlap.
    EXPECT_EQ(PlanShow({{"A", 10 * M, 9 * H}, {"B", 5 * M, 9 * H + 10 * M}}).firstOverlap, "");
}

// Offset: the projected end (now plus what remains) minus the planned end, whatever the phase.
TEST(Schedule, TheOffsetIsTheProjectedEndAgainstThePlannedEnd) {
    CountdownModel model;
    model.m_show = {{"Welcome", 5 * M, 9 * H + 30 * M}, {"Keynote", 20 * M, std::nullopt}};
    model.m_countdownSeconds = 5 * M;
    const ShowPlan plan = PlanShow(model.m_show);
    struct Case {
        const char* phase;
        int32_t running, remaining, inAlert, paused, segment, now, offset;
    };
    const Case cases[] = {
        {"idle, on time", 0, 300, 0, 0, 0, 9 * H + 30 * M, 0},
        {"idle, two minutes after its planned start", 0, 300, 0, 0, 0, 9 * H + 32 * M, 120},
        {"idle, early", 0, 300, 0, 0, 0, 9 * H + 29 * M, -60},
        {"counting, started 10 s late", 1, 290, 0, 0, 0, 9 * H + 30 * M + 20, 10},
        {"paused, on a clock that went on", 1, 200, 0, 1, 0, 9 * H + 34 * M, 140},
        {"in overtime: its end is now", 1, -90, 1, 0, 0, 9 * H + 36 * M + 30, 90},
        {"the next segment, idle", 0, 1200, 0, 0, 1, 9 * H + 36 * M, 60},
    };
    for (const Case& c : cases) {
        model.m_running = c.running;
        model.m_remaining = c.remaining;
        model.m_inAlert = c.inAlert;
        model.m_paused = c.paused;
        model.m_segment = c.segment;
        model.m_countdownSeconds = model.m_show[static_cast<size_t>(c.segment)].seconds;
        const auto at = ScheduleAt(model, plan, c.now);
        ASSERT_TRUE(at) << c.phase;
        EXPECT_EQ(at->offset, c.offset) << c.phase;
        EXPECT_EQ(at->showEnd, 9 * H + 55 * M + c.offset) << c.phase;
    }
    // A show that began before midnight, read after it.
    model.m_show = {{"Late show", 40 * M, 23 * H + 40 * M}, {"Encore", 10 * M, std::nullopt}};
    model.m_segment = 1;
    model.m_running = 0;
    model.m_countdownSeconds = 10 * M;
    EXPECT_EQ(ScheduleAt(model, PlanShow(model.m_show), 0 * H + 25 * M)->offset, 5 * M);
    // A show planned just after midnight, read just before it: early, not a day late.
    model.m_show = {{"Midnight", 10 * M, 0 * H + 15 * M}};
    model.m_segment = 0;
    EXPECT_EQ(ScheduleAt(model, PlanShow(model.m_show), 23 * H + 50 * M)->offset, -25 * M);
    EXPECT_FALSE(ScheduleAt(model, ShowPlan{}, 0));
    EXPECT_EQ(OffsetText(130), "+2:10");
    EXPECT_EQ(OffsetText(-45),
              "\xE2\x88\x92"
              "0:45");
    EXPECT_EQ(OffsetText(3725), "+1:02:05");
}
// Idle past its planned start, the segment's name says how late it is, in the warning's
// colour; with showautostart=schedule it starts as its planned start arrives, and only
// once: reset after that, it waits for the operator.
TEST(Schedule, AnIdleSegmentPastItsStartSaysSoOrStartsByItself) {
    CountdownModel model;
    model.m_show = {{"Keynote", 20 * M, 9 * H + 30 * M}};
    model.m_countdownSeconds = model.m_remaining = 20 * M;
    model.m_colorWarn = 0xFFFFC000;
    // Early: only the offset's line changes (idle, the projected end moves each second).
    EXPECT_EQ(OnScheduleSecond(model, 9 * H + 29 * M, 0).picture, EngineEffects::Picture::Frame);
    EXPECT_EQ(SelectDisplay(model).text, "Keynote");
    EXPECT_EQ(OnScheduleSecond(model, 9 * H + 31 * M + 30, 0).picture, EngineEffects::Picture::LayoutInPlace);
    EXPECT_EQ(SelectDisplay(model).text, "Keynote +1:30");
    EXPECT_EQ(SelectDisplay(model).color, 0xFFFFC000u);
    model.m_titleText = "Hall A";  // a title of the user's own is never marked
    EXPECT_EQ(SelectDisplay(model).text, "Hall A");
    model.m_titleText.clear();

    model.m_showAutoStart = kAutoStartOnSchedule;
    EXPECT_FALSE(OnScheduleSecond(model, 9 * H + 29 * M + 59, 0).armTimer != EngineEffects::Timer::None);
    const EngineEffects started = OnScheduleSecond(model, 9 * H + 30 * M + 1, 0);
    EXPECT_EQ(started.armTimer, EngineEffects::Timer::Periodic);
    EXPECT_EQ(model.m_running, 1);
    EXPECT_EQ(model.m_lateToStart, 0);
    ResetCountdown(model);
    EXPECT_EQ(OnScheduleSecond(model, 9 * H + 30 * M + 2, 0).armTimer, EngineEffects::Timer::None);
    EXPECT_EQ(model.m_running, 0);
    EXPECT_EQ(model.m_lateToStart, 2);
}

// The lines under the time: the offset with schedule=1 (late past 30 s in the warning's
// colour, otherwise the normal one), and the next segment the schedule left waiting
// while this one runs on; nothing without a plan.
TEST(Schedule, TheNotesSayHowFarOffThePlanTheShowRuns) {
    CountdownModel model;
    model.m_show = {{"Keynote", 20 * M, 9 * H}, {"Panel", 10 * M, std::nullopt}};
    model.m_countdownSeconds = model.m_remaining = 20 * M;
    model.m_colorNormal = 0xFF00FF00;
    model.m_colorWarn = 0xFFFFC000;
    model.m_scheduleLine = 1;
    const auto notes = [&](int32_t at) {
        OnScheduleSecond(model, at, 0);
        return ClockNotes(model);
    };
    EXPECT_EQ(notes(8 * H + 59 * M + 15), (std::vector<ClockNote>{{"\xE2\x88\x92"
                                                                   "0:45",
                                                                   0xFF00FF00}}));
    EXPECT_EQ(notes(9 * H + 30), (std::vector<ClockNote>{{"+0:30", 0xFF00FF00}}));
    EXPECT_EQ(notes(9 * H + 31), (std::vector<ClockNote>{{"+0:31", 0xFFFFC000}}));
    model.m_scheduleLine = 0;
    EXPECT_TRUE(notes(9 * H + 31).empty());

    // Keynote runs on past Panel's planned start: said only where the schedule would have started it.
    model.m_running = 1;
    model.m_remaining = 5 * M;
    EXPECT_TRUE(notes(9 * H + 20 * M + 12).empty());
    model.m_showAutoStart = kAutoStartOnSchedule;
    EXPECT_EQ(OnScheduleSecond(model, 9 * H + 20 * M + 12, 0).picture, EngineEffects::Picture::Frame);
    EXPECT_EQ(ClockNotes(model), (std::vector<ClockNote>{{"Panel +0:12", 0xFFFFC000}}));
    EXPECT_EQ(OnScheduleSecond(model, 9 * H + 20 * M + 12, 0).picture, EngineEffects::Picture::None);
    EXPECT_TRUE(notes(9 * H + 19 * M).empty());
    model.m_segment = 1;  // the last segment has no next to wait
    EXPECT_TRUE(notes(9 * H + 40 * M).empty());

    model.m_show = {{"Keynote", 20 * M, std::nullopt}};  // no plan: no line
    model.m_scheduleLine = 1;
    model.m_segment = 0;
    EXPECT_TRUE(notes(9 * H).empty());
}
}  // namespace
