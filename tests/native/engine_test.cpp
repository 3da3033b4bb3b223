#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "countdown/clock_orders.h"
#include "countdown/countdown_engine.h"
#include "countdown/display_selection.h"
#include "countdown/timer_resolution.h"

namespace {
// Records what the engine asks of its window, as "relayout, center, start-timer".
class RecordingHost : public EngineHost {
public:
    void Relayout() override { Add("relayout"); }
    void RelayoutInPlace() override { Add("relayout-in-place"); }
    void PresentFrame() override { Add("present"); }
    void CenterWindow() override { Add("center"); }
    void PlayAlertSound() override { Add("sound"); }
    void PlayCueSound() override { Add("cue"); }
    uint32_t StartPeriodicTimer() override { return Started("start-timer"); }
    uint32_t StartOneShotTimer(uint32_t delayMs) override { return Started("one-shot " + std::to_string(delayMs)); }
    void StopTimer(uint32_t id) override {
        Add("stop-timer " + std::to_string(id));
        --liveTimers;
    }
    std::string Take() { return std::exchange(calls, {}); }

    std::string calls;
    int liveTimers = 0;
    uint32_t nextId = 100;
    bool failTimer = false;

private:
    void Add(const std::string& what) { calls += (calls.empty() ? "" : ", ") + what; }
    uint32_t Started(const std::string& what) {
        Add(what);
        ++liveTimers;
        return failTimer ? kNoTimer : ++nextId;
    }
};

// One key or tick and what follows: "F2" and "F3" at a time in ms, "F4", "tick"
// (the live timer's, on time, or fired at the time given), "next" and "prev",
// or a change of seconds such as "+60".
struct Step {
    const char* key;
    uint32_t at;
    const char* calls;
    int32_t remaining;
};

struct EngineTest : ::testing::Test {
    CountdownModel model;
    RecordingHost host;
    void SetUp() override {
        model = CountdownModel{};
        model.m_countdownSeconds = 5;
        model.m_alertSeconds = 3;
        model.m_remaining = 5;
        model.m_alertCenter = 1;
        host = RecordingHost{};
    }
    // The live timer's tick, fired on time, or lateMs after its second was due.
    void Tick(uint32_t lateMs = 0) {
        ASSERT_TRUE(IsLiveTick(model, model.m_timerId));
        OnTimerTick(model, host, NextTickDueMs(model) + lateMs);
    }
    void Play(std::initializer_list<Step> steps) {
        int n = 0;
        for (const Step& step : steps) {
            const std::string key = step.key;
            if (key == "tick" && step.at != 0)
                OnTimerTick(model, host, step.at);
            else if (key == "tick")
                Tick();
            else if (key == "next" || key == "prev")
                MoveSegment(model, host, key == "next" ? 1 : -1);
            else if (key == "F2")
                StartCountdown(model, host, step.at);
            else if (key == "F3")
                PauseOrResume(model, host, step.at);
            else if (key == "F4")
                ResetCountdown(model, host);
            else
                AdjustTime(model, host, std::stoi(key));
            EXPECT_EQ(host.Take(), step.calls) << "step " << n << ": " << key << " at " << step.at;
            EXPECT_EQ(model.m_remaining, step.remaining) << "step " << n << ": " << key << " at " << step.at;
            ++n;
        }
    }
};

// 0 is never shown: N + A ticks make one cycle, and the alert's end is F4's.
TEST_F(EngineTest, ACycleFromIdleBackToIdle) {
    Play({{"F2", 0, "relayout, center, start-timer", 5},
          {"F2", 0, "", 5},  // while counting: nothing
          {"tick", 0, "present", 4},
          {"tick", 0, "present", 3},
          {"tick", 0, "present", 2},
          {"tick", 0, "present", 1},
          {"tick", 0, "relayout, center, sound", 3},
          {"F2", 0, "", 3},  // in the alert: nothing
          {"tick", 0, "present", 2},
          {"tick", 0, "present", 1},
          {"tick", 0, "stop-timer 101, relayout, center", 5}});
    EXPECT_EQ(StateOf(model), EngineState::Idle);
    EXPECT_EQ(host.liveTimers, 0);
}

TEST_F(EngineTest, F4InEachState) {
    Play({{"F2", 0, "relayout, center, start-timer", 5}, {"F4", 0, "stop-timer 101, relayout, center", 5}});
    model.m_inAlert = 1;
    Play({{"F4", 0, "", 5}});  // in Idle with a length: nothing at all but the alert flag goes
    EXPECT_EQ(model.m_inAlert, 0);
    model.m_remaining = 0;  // in Idle with a zero length: reset, no timer to stop
    Play({{"F4", 0, "relayout, center", 5}, {"F2", 0, "relayout, center, start-timer", 5}});
    for (int i = 0; i < 5; ++i) Tick();
    ASSERT_EQ(StateOf(model), EngineState::Alert);
    host.Take();
    Play({{"F4", 0, "stop-timer 102, relayout, center", 5}});
    EXPECT_EQ(model.m_inAlert, 0);
    host.failTimer = true;  // a timer that did not start: counting, nothing ticks, until F4
    Play({{"F2", 0, "relayout, center, start-timer", 5}});
    EXPECT_EQ(StateOf(model), EngineState::Counting);
    EXPECT_FALSE(IsLiveTick(model, kNoTimer));
    Play({{"F4", 0, "relayout, center", 5}});
    EXPECT_EQ(StateOf(model), EngineState::Idle);
}

TEST_F(EngineTest, AlertWithoutCentringAndOneSecondPhases) {
    model.m_alertCenter = 0;
    model.m_countdownSeconds = 1;
    model.m_alertSeconds = 1;
    Play({{"F2", 0, "relayout, center, start-timer", 1},
          {"tick", 0, "relayout, sound", 1},
          {"tick", 0, "stop-timer 101, relayout, center", 1}});
    EXPECT_EQ(StateOf(model), EngineState::Idle);
}

// Whatever the count was doing while the dialog was open, OK ends it and lays
// out the new length where the window stood, not centred.
TEST_F(EngineTest, NewCountdownEndsWhateverRan) {
    for (const int ticks : {-1, 2, 6, 9}) {  // idle, counting, in the alert, seconds into overtime
        SetUp();
        model.m_overtime = ticks == 9;
        if (ticks >= 0) StartCountdown(model, host, 0);
        for (int i = 0; i < ticks; ++i) Tick();
        host.Take();
        CountdownValues values = ValuesOf(model);
        values.m_countdownSeconds = 42;
        values.m_sizeNormal = 120;
        ApplyNewCountdown(model, host, values);
        EXPECT_EQ(host.Take(), ticks < 0 ? "relayout" : "stop-timer 101, relayout, center, relayout") << ticks;
        EXPECT_EQ(StateOf(model), EngineState::Idle) << ticks;
        EXPECT_EQ(model.m_remaining, 42) << ticks;
        EXPECT_EQ(model.m_sizeNormal, 120) << ticks;
        EXPECT_EQ(host.liveTimers, 0) << ticks;
    }
}

// "+0:01" ... "+9:59" keep their width; "+10:00" and "+1:00:00" need more room;
// the alert length does not end it, F4 does.
TEST_F(EngineTest, OvertimeCountsUpAndWidensInPlaceUntilF4) {
    model.m_overtime = 1;
    StartCountdown(model, host, 0);
    for (int i = 0; i < 4; ++i) Tick();
    host.Take();
    Play({{"tick", 0, "relayout, center, sound", 0}, {"tick", 0, "present", -1}});
    const std::pair<int32_t, const char*> rows[] = {{-598, "present"},  {-599, "relayout-in-place"},
                                                    {-600, "present"},  {-3599, "relayout-in-place"},
                                                    {-3600, "present"}, {INT32_MIN + 1, "present"}};
    for (const auto& [before, call] : rows) {
        model.m_remaining = before;
        Play({{"tick", 0, call, before == INT32_MIN + 1 ? before : before - 1}});  // saturated, not wrapped
        EXPECT_EQ(StateOf(model), EngineState::Alert) << before;
    }
    Play({{"+60", 0, "", INT32_MIN + 1},
          {"-60", 0, "", INT32_MIN + 1},  // never back across zero
          {"F4", 0, "stop-timer 101, relayout, center", 5}});
}

// Times in ms as the window would read them; each tick is the timer's.
TEST_F(EngineTest, PauseKeepsThePartOfTheSecondAlreadySpent) {
    model.m_countdownSeconds = 600;
    Play({
        {"F3", 5000, "", 5},  // Idle: nothing to pause
        {"F2", 10000, "relayout, center, start-timer", 600},
        {"tick", 0, "present", 599},                               // at 11000
        {"F3", 11400, "stop-timer 101, present", 599},             // 400 ms into the second
        {"-60", 0, "present", 539},                                // still paused
        {"F3", 20000, "one-shot 600, present", 539},               // the rest of it
        {"tick", 0, "stop-timer 102, start-timer, present", 538},  // at 20600: periodic from here
        {"tick", 0, "present", 537},                               // at 21600
        {"F3", 21850, "stop-timer 103, present", 537},
        {"F2", 30000, "one-shot 750, present", 537},               // F2 resumes as F3 does
        {"F3", 30100, "stop-timer 104, present", 537},             // paused again before the one-shot
        {"F3", 40000, "one-shot 650, present", 537},               // 250 + 100 spent
        {"tick", 0, "stop-timer 105, start-timer, present", 536},  // at 40650
        {"F3", 41700, "present, stop-timer 106, present", 535},    // the 41650 tick queued: counted first
        {"F3", 50000, "one-shot 950, present", 535},
        {"tick", 0, "stop-timer 107, start-timer, present", 534},  // at 50950
        {"tick", 51945, "present", 533},                           // due at 51950, fired early
        {"F3", 51948, "stop-timer 108, present", 533},             // early: nothing spent yet
        {"F3", 60000, "one-shot 1000, present", 533},
    });
    EXPECT_EQ(host.liveTimers, 1);
}

TEST_F(EngineTest, PauseInTheAlertAndAcrossTheClocksWrap) {
    StartCountdown(model, host, 0xFFFFFF00u);
    host.Take();
    Play({{"F3", 0xFFFFFF00u + 300u, "stop-timer 101, present", 5}, {"F3", 1000, "one-shot 700, present", 5}});
    EXPECT_EQ(SelectDisplay(model).color >> 24, 0xFFu);
    const uint32_t oneShot = model.m_timerId;
    Play({{"F3", 1100, "stop-timer 102, present", 5}});
    EXPECT_EQ(SelectDisplay(model).color >> 24, 0x7Fu);  // drawn paused
    EXPECT_FALSE(IsLiveTick(model, oneShot));            // paused before the one-shot fired: its tick is stale
    Play({{"F4", 0, "relayout, center", 5}});            // no timer runs to stop
    EXPECT_EQ(model.m_paused, 0);

    StartCountdown(model, host, 0);
    for (int i = 0; i < 5; ++i) Tick();
    ASSERT_EQ(StateOf(model), EngineState::Alert);
    host.Take();
    Play({{"F3", 5000, "stop-timer 103, present", 3}});  // the alert pauses too
    EXPECT_EQ(host.liveTimers, 0);
}

TEST_F(EngineTest, AMinuteMoreOrLessInEachState) {
    struct Row {
        EngineState state;
        int32_t remaining, delta, after;
        const char* calls;
    };
    const Row rows[] = {
        {EngineState::Idle, 600, 60, 660, "present"},                 // "10:00" -> "11:00"
        {EngineState::Idle, 30, -60, 1, "relayout-in-place"},         // "30" -> "1"
        {EngineState::Idle, 1, -60, 1, "present"},                    // never below 1 s
        {EngineState::Counting, 599, 60, 659, "relayout-in-place"},   // "9:59" -> "10:59"
        {EngineState::Counting, 659, -60, 599, "relayout-in-place"},  // and back: no wide window left
        {EngineState::Counting, 30, -60, 1, "relayout-in-place"},     // the alert still comes
        {EngineState::Counting, 2, -1, 1, "present"},                 // 1 s is allowed
        {EngineState::Counting, 1, -60, 1, "present"},
        {EngineState::Counting, 3590, 60, 3650, "relayout-in-place"},  // "59:50" -> "1:00:50"
        {EngineState::Counting, INT32_MAX - 10, 60, INT32_MAX, "present"},
        {EngineState::Counting, 30, 0, 30, ""},
        {EngineState::Alert, 30, 60, 30, ""},
        {EngineState::Alert, 30, -60, 30, ""},
    };
    for (const Row& row : rows) {
        model.m_running = row.state != EngineState::Idle;
        model.m_inAlert = row.state == EngineState::Alert;
        model.m_remaining = row.remaining;
        model.m_countdownSeconds = row.state == EngineState::Idle ? row.remaining : 600;
        model.m_timerId = model.m_running ? 7 : kNoTimer;
        AdjustTime(model, host, row.delta);
        EXPECT_EQ(host.Take(), row.calls) << row.remaining << " " << row.delta;
        EXPECT_EQ(model.m_remaining, row.after) << row.remaining << " " << row.delta;
        // Idle changes the length that is stored; a running count leaves it.
        EXPECT_EQ(model.m_countdownSeconds, row.state == EngineState::Idle ? row.after : 600);
        EXPECT_EQ(model.m_timerId, model.m_running ? 7u : kNoTimer);  // the rhythm is kept
    }
}

TEST_F(EngineTest, CountingDownToATimeLeavesTheStoredLength) {
    CountDownFrom(model, host, 1800, 0);
    PauseOrResume(model, host, 100);
    host.Take();
    CountDownFrom(model, host, 0, 200);  // over a paused count: afresh, not paused, at least a second
    EXPECT_EQ(host.Take(), "relayout, center, start-timer");
    EXPECT_EQ(model.m_remaining, 1);
    EXPECT_EQ(model.m_paused, 0);
    CountDownFrom(model, host, 90, 300);  // over a running one: its timer stops first
    EXPECT_EQ(host.Take(), "stop-timer 102, relayout, center, start-timer");
    EXPECT_EQ(host.liveTimers, 1);
    Play({{"F4", 0, "stop-timer 103, relayout, center", 5}});
}

TEST_F(EngineTest, CommandLineOrdersAsTyped) {
    using W = std::vector<std::string>;
    struct Row {
        W words;
        bool counting;  // before the orders
        const char* calls;
        int32_t remaining, length, paused;
    };
    const Row rows[] = {
        {W{"--start"}, false, "relayout, center, start-timer", 5, 5, 0},
        {W{"--start"}, true, "", 4, 5, 0},
        {W{"20m"}, false, "relayout", 1200, 1200, 0},
        {W{"20m"}, true, "stop-timer 101, relayout, center, relayout", 1200, 1200, 0},
        {W{"--start", "20m"}, false, "relayout, relayout, center, start-timer", 1200, 1200, 0},
        {W{"--until", "14:30"}, false, "relayout, center, start-timer", 1800, 5, 0},
        {W{"--until", "14:30", "--start", "--add", "60"}, true,
         "stop-timer 101, relayout, center, start-timer, present", 1860, 5, 0},
        {W{"--add", "-60"}, false, "present", 1, 1, 0},
        {W{"--add", "3600"}, false, "relayout-in-place", 3605, 3605, 0},
        {W{"--add", "-60"}, true, "present", 1, 5, 0},
        {W{"--start", "--pause"}, false, "relayout, center, start-timer, stop-timer 101, present", 5, 5, 1},
        {W{"--pause"}, false, "", 5, 5, 0},
        {W{"--reset"}, true, "stop-timer 101, relayout, center", 5, 5, 0},
        {W{"--reset", "--start"}, true, "stop-timer 101, relayout, center, relayout, center, start-timer", 5, 5, 0},
    };
    for (const Row& row : rows) {
        SetUp();
        model.m_alertCenter = 0;
        if (row.counting) {
            StartCountdown(model, host, 0);
            Tick();
        }
        host.Take();
        const ParsedCommandLine parsed = ParseCommandLine(row.words);
        ASSERT_TRUE(parsed.ok) << parsed.badWord;
        ApplyOrders(model, host, parsed.line.orders, 1000, 14 * 3600);
        const std::string name = row.words[0] + (row.counting ? " (counting)" : "");
        EXPECT_EQ(host.Take(), row.calls) << name;
        EXPECT_EQ(model.m_remaining, row.remaining) << name;
        EXPECT_EQ(model.m_countdownSeconds, row.length) << name;
        EXPECT_EQ(model.m_paused, row.paused) << name;
    }
}

// The count follows the host's clock: a stall or a sleep between two ticks is
// counted at the next one, each phase crossed on the way ends once, and only
// the phase the clock lands in is shown.
TEST_F(EngineTest, TheCountFollowsTheClockAcrossStallsAndSleeps) {
    model.m_countdownSeconds = 600;
    model.m_alertSeconds = 60;
    model.m_cues = {300, 120};
    Play({{"F2", 1000, "relayout, center, start-timer", 600},
          {"tick", 4300, "present", 597},  // 2.3 s late: three seconds at once
          {"tick", 4310, "", 597},         // queued behind it: nothing
          {"tick", 0, "present", 596},     // the rhythm goes on
          {"tick", 300000, "present", 301},
          {"tick", 0, "cue, present", 300},                         // a cue reached by time
          {"tick", 483000, "present", 118},                         // a cue passed by a sleep is not played late
          {"F3", 500500, "present, stop-timer 101, present", 101},  // a pause counts the seconds slept first
          {"F3", 600000, "one-shot 500, present", 101},
          {"tick", 600500, "stop-timer 102, start-timer, present", 100},
          {"tick", 701500, "relayout, center, sound", 59},  // a sleep across the end: the alert, 1 s in
          {"tick", 0, "present", 58},
          {"tick", 800000, "stop-timer 103, relayout, center", 600}});  // and across the alert's end
    EXPECT_EQ(StateOf(model), EngineState::Idle);
    EXPECT_EQ(host.liveTimers, 0);

    SetUp();
    model.m_overtime = 1;
    Play({{"F2", 0, "relayout, center, start-timer", 5},
          {"tick", 605000, "relayout, center, sound", -600}});  // overtime from the end, not from the wake
    EXPECT_EQ(SelectDisplay(model).text.find("+10:00"), model.m_alertText.size() + 1);

    SetUp();  // an overtime left running for weeks keeps counting past the 32-bit milliseconds' wrap
    model.m_overtime = 1;
    StartCountdown(model, host, 0xFFFF0000u);
    for (int day = 0; day < 60; ++day) Tick(86'399'000);
    EXPECT_EQ(model.m_remaining, 5 - 60 * 86400 + 0);
    host.Take();
    Play({{"tick", 0, "present", 5 - 60 * 86400 - 1}});

    SetUp();  // woken: the seconds slept show at once, and the next on-time tick counts one
    StartCountdown(model, host, 0);
    OnWake(model, host, 3500);
    EXPECT_EQ(model.m_remaining, 2);
    host.Take();
    Play({{"tick", 0, "present", 1}});
    PauseOrResume(model, host, 4200);
    OnWake(model, host, 9000);  // paused: nothing passes
    EXPECT_EQ(model.m_remaining, 1);
}

TEST_F(EngineTest, ARunOfShowMovesAndAdvances) {
    model.m_show = {{"Welcome", 4}, {"Keynote", 2}, {"Q&A", 3}};
    model.m_countdownSeconds = 4;
    model.m_alertSeconds = 1;
    model.m_alertCenter = 0;
    Play({{"prev", 0, "", 5},  // at the first: nothing
          {"next", 0, "relayout, center", 2},
          {"F2", 0, "relayout, center, start-timer", 2},
          {"next", 0, "stop-timer 101, relayout, center", 3},  // a running count ends
          {"next", 0, "", 3},                                  // at the last: nothing
          {"prev", 0, "relayout, center", 2}});
    EXPECT_EQ(SelectDisplay(model).text, "Keynote");
    model.m_titleText = "Conference";  // the title key wins
    EXPECT_EQ(SelectDisplay(model).text, "Conference");

    StartCountdown(model, host, 0);
    for (int i = 0; i < 3; ++i) Tick();  // the alert ends: without showadvance the segment stays
    EXPECT_EQ(model.m_segment, 1);
    model.m_showAdvance = 1;
    StartCountdown(model, host, 0);
    for (int i = 0; i < 2; ++i) Tick();
    ResetOrEndSegment(model, host, 0);  // F4 in an alert that ends by itself: a reset, the segment stays
    EXPECT_EQ(model.m_segment, 1);
    host.Take();
    Play({{"F2", 0, "relayout, center, start-timer", 2},
          {"tick", 0, "present", 1},
          {"tick", 0, "relayout, sound", 1},
          {"tick", 0, "stop-timer 104, relayout, center, relayout, center", 3}});  // the alert ends: on, idle
    EXPECT_EQ(model.m_segment, 2);
    EXPECT_EQ(StateOf(model), EngineState::Idle);

    model.m_showAutoStart = 1;
    model.m_overtime = 1;
    Play({{"prev", 0, "relayout, center", 2}, {"F2", 0, "relayout, center, start-timer", 2}});
    for (int i = 0; i < 4; ++i) Tick();  // into overtime
    host.Take();
    ResetOrEndSegment(model, host, 5000);  // F4 in overtime ends the segment: on, and started
    EXPECT_EQ(host.Take(), "stop-timer 105, relayout, center, relayout, center, relayout, center, start-timer");
    EXPECT_EQ(model.m_segment, 2);
    EXPECT_EQ(StateOf(model), EngineState::Counting);
    GoToSegment(model, host, 9);  // beyond the show: nothing
    GoToSegment(model, host, 1);
    EXPECT_EQ(model.m_segment, 0);
    EXPECT_EQ(model.m_countdownSeconds, 4);
}

// The elapsed face counts up while the same phases come at the same moments.
TEST_F(EngineTest, TheElapsedFaceCountsUpAndGrowsInPlace) {
    model.m_elapsedFace = 1;
    model.m_countdownSeconds = 70;
    model.m_remaining = 70;
    EXPECT_EQ(SelectDisplay(model).text, "1:10");  // idle: the length, as in every face
    Play({{"F2", 0, "relayout, center, start-timer", 70}});
    EXPECT_EQ(SelectDisplay(model).text, "0");
    for (int i = 0; i < 59; ++i) Tick();
    host.Take();
    Play({{"tick", 0, "relayout-in-place", 10}, {"+60", 0, "present", 70}});  // "59" -> "1:00"
    EXPECT_EQ(SelectDisplay(model).text, "1:00");  // a minute more moves the end, not the time spoken
    PauseOrResume(model, host, 60500);
    EXPECT_EQ(SelectDisplay(model).text, "1:00");
    EXPECT_EQ(SelectDisplay(model).color >> 24, 0x7Fu);
}

TEST(TimerResolution, FromTheDeviceCapabilities) {
    struct Case {
        uint32_t periodMin, periodMax, resolution;
    };
    for (const Case& c : {Case{1, 1000000, 5}, Case{0, 1, 5}, Case{0, 65535, 5}, Case{16, 1000000, 80}, Case{10, 4, 20},
                          Case{2, 2, 10}})
        EXPECT_EQ(ChooseTimerResolution(true, c.periodMin, c.periodMax), c.resolution)
            << c.periodMin << " " << c.periodMax;
    EXPECT_FALSE(ChooseTimerResolution(false, 1, 1000000).has_value());  // no period requested
}
}  // namespace
