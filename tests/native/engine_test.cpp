#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "countdown/clock_orders.h"
#include "countdown/countdown_engine.h"
#include "countdown/display_selection.h"

namespace {
// Records what the engine asks of its window, with the value it would show.
class RecordingHost : public EngineHost {
public:
    explicit RecordingHost(CountdownModel& model) : m_model(model) {}
    void Relayout() override { Record("relayout"); }
    void RelayoutInPlace() override { Record("relayout-in-place"); }
    void PresentFrame() override { Record("present"); }
    void CenterWindow() override { calls.push_back("center"); }
    void PlayAlertSound() override { calls.push_back("sound"); }
    uint32_t StartPeriodicTimer() override {
        calls.push_back("start-timer");
        ++liveTimers;
        return failTimer ? kNoTimer : ++nextId;
    }
    uint32_t StartOneShotTimer(uint32_t delayMs) override {
        calls.push_back("one-shot " + std::to_string(delayMs));
        ++liveTimers;
        return failTimer ? kNoTimer : ++nextId;
    }
    void StopTimer(uint32_t id) override {
        calls.push_back("stop-timer " + std::to_string(id));
        --liveTimers;
    }
    std::vector<std::string> Take() { return std::exchange(calls, {}); }

    std::vector<std::string> calls;
    std::vector<int32_t> shown;
    int liveTimers = 0;
    uint32_t nextId = 100;
    bool failTimer = false;

private:
    void Record(const char* what) {
        calls.push_back(what);
        shown.push_back(m_model.m_remaining);
    }
    CountdownModel& m_model;
};

struct EngineTest : ::testing::Test {
    CountdownModel model;
    RecordingHost host{model};
    void SetUp() override {
        model.m_countdownSeconds = 5;
        model.m_alertSeconds = 3;
        model.m_remaining = 5;
        model.m_alertCenter = 1;
    }
    uint32_t SelectDisplayColorAlpha() const { return SelectDisplay(model).color >> 24; }
    void Tick() {
        ASSERT_TRUE(IsLiveTick(model, model.m_timerId));
        OnTimerTick(model, host);
    }
};

using Calls = std::vector<std::string>;

TEST_F(EngineTest, ValuesShownAfterF2) {
    StartCountdown(model, host, 0);
    for (int k = 1; k <= 5 + 3; ++k) Tick();
    const std::vector<int32_t> expected{5, 4, 3, 2, 1, 3, 2, 1, 5};
    EXPECT_EQ(host.shown, expected);  // 0 never shown; N + A ticks make one cycle
    EXPECT_EQ(StateOf(model), EngineState::Idle);
    EXPECT_EQ(host.liveTimers, 0);
}

TEST_F(EngineTest, TransitionsFromIdle) {
    StartCountdown(model, host, 0);
    EXPECT_EQ(host.Take(), (Calls{"relayout", "center", "start-timer"}));
    EXPECT_EQ(StateOf(model), EngineState::Counting);
    EXPECT_EQ(model.m_timerId, 101u);

    ResetCountdown(model, host);
    EXPECT_EQ(host.Take(), (Calls{"stop-timer 101", "relayout", "center"}));
    EXPECT_EQ(model.m_timerId, kNoTimer);

    // F4 in Idle with a non-zero length does nothing at all.
    model.m_inAlert = 1;
    ResetCountdown(model, host);
    EXPECT_TRUE(host.Take().empty());
    EXPECT_EQ(model.m_inAlert, 0);

    // F4 in Idle with a zero length resets and lays out, killing no timer.
    model.m_remaining = 0;
    ResetCountdown(model, host);
    EXPECT_EQ(host.Take(), (Calls{"relayout", "center"}));
    EXPECT_EQ(model.m_remaining, 5);
}

TEST_F(EngineTest, TransitionsWhileCountingAndInAlert) {
    StartCountdown(model, host, 0);
    host.Take();
    StartCountdown(model, host, 0);  // F2 while counting: nothing
    EXPECT_TRUE(host.Take().empty());

    Tick();
    EXPECT_EQ(host.Take(), (Calls{"present"}));
    for (int i = 0; i < 3; ++i) Tick();
    host.Take();
    Tick();  // 1 -> alert
    EXPECT_EQ(host.Take(), (Calls{"relayout", "center", "sound"}));
    EXPECT_EQ(StateOf(model), EngineState::Alert);
    EXPECT_EQ(model.m_remaining, 3);

    StartCountdown(model, host, 0);  // F2 in alert: nothing
    EXPECT_TRUE(host.Take().empty());
    Tick();
    EXPECT_EQ(host.Take(), (Calls{"present"}));

    ResetCountdown(model, host);  // F4 in alert
    EXPECT_EQ(host.Take(), (Calls{"stop-timer 101", "relayout", "center"}));
    EXPECT_EQ(StateOf(model), EngineState::Idle);
    EXPECT_EQ(model.m_remaining, 5);
}

TEST_F(EngineTest, AlertWithoutCentringAndOneSecondPhases) {
    model.m_alertCenter = 0;
    model.m_countdownSeconds = 1;
    model.m_alertSeconds = 1;
    StartCountdown(model, host, 0);
    EXPECT_EQ(host.shown.back(), 1);
    host.Take();
    Tick();
    EXPECT_EQ(host.Take(), (Calls{"relayout", "sound"}));
    Tick();
    EXPECT_EQ(host.Take(), (Calls{"stop-timer 101", "relayout", "center"}));
    EXPECT_EQ(StateOf(model), EngineState::Idle);
}

TEST_F(EngineTest, FailedTimerLeavesCountingUntilF4) {
    host.failTimer = true;
    StartCountdown(model, host, 0);
    EXPECT_EQ(StateOf(model), EngineState::Counting);
    EXPECT_EQ(model.m_timerId, kNoTimer);
    EXPECT_FALSE(IsLiveTick(model, kNoTimer));  // counting with no timer: nothing ticks
    StartCountdown(model, host, 0);
    ResetCountdown(model, host);
    EXPECT_EQ(StateOf(model), EngineState::Idle);
}

TEST_F(EngineTest, NewCountdownWhileIdleOnlyChangesValuesAndLayout) {
    CountdownValues values = ValuesOf(model);
    values.m_countdownSeconds = 90;
    values.m_sizeNormal = 120;
    ApplyNewCountdown(model, host, values);
    EXPECT_EQ(host.Take(), (Calls{"relayout"}));  // not centred
    EXPECT_EQ(model.m_remaining, 90);
    EXPECT_EQ(model.m_sizeNormal, 120);
}

// Whatever the count was doing while the dialog was open, OK ends it and lays
// out the new length: running, in the alert, or seconds into overtime.
TEST_F(EngineTest, NewCountdownEndsWhateverRan) {
    struct Row {
        int overtime, ticks;
        EngineState before;
        Calls calls;  // empty: not looked at
    };
    for (const Row& row : {Row{0, 2, EngineState::Counting, {"stop-timer 101", "relayout", "center", "relayout"}},
                           Row{0, 6, EngineState::Alert, {}}, Row{1, 9, EngineState::Alert, {}}}) {
        model = CountdownModel{};
        SetUp();
        model.m_overtime = row.overtime;
        host.nextId = 100;
        StartCountdown(model, host, 0);
        for (int i = 0; i < row.ticks; ++i) Tick();
        ASSERT_EQ(StateOf(model), row.before) << row.ticks;
        host.Take();
        CountdownValues values = ValuesOf(model);
        values.m_countdownSeconds = 42;
        ApplyNewCountdown(model, host, values);
        if (!row.calls.empty()) {
            EXPECT_EQ(host.Take(), row.calls);
        }
        EXPECT_EQ(StateOf(model), EngineState::Idle) << row.ticks;
        EXPECT_EQ(model.m_remaining, 42) << row.ticks;
        EXPECT_EQ(host.liveTimers, 0) << row.ticks;
    }
}

TEST_F(EngineTest, OvertimeCountsUpAndWidensInPlaceUntilF4) {
    model.m_overtime = 1;
    StartCountdown(model, host, 0);
    for (int i = 0; i < 4; ++i) Tick();
    host.Take();
    Tick();  // zero: the alert starts as always
    EXPECT_EQ(host.Take(), (Calls{"relayout", "center", "sound"}));
    EXPECT_EQ(model.m_remaining, 0);
    struct Row {
        int32_t before;
        const char* call;  // what the next tick asks for
    };
    // "+0:01" ... "+9:59" keep their width; "+10:00" and "+1:00:00" need more room.
    for (const Row& row : {Row{0, "present"}, Row{-1, "present"}, Row{-598, "present"}, Row{-599, "relayout-in-place"},
                           Row{-600, "present"}, Row{-3599, "relayout-in-place"}, Row{-3600, "present"},
                           Row{INT32_MIN + 1, "present"}}) {
        model.m_remaining = row.before;
        Tick();
        EXPECT_EQ(host.Take(), (Calls{row.call})) << row.before;
        EXPECT_EQ(StateOf(model), EngineState::Alert) << row.before;  // the alert length does not end it
    }
    EXPECT_EQ(model.m_remaining, INT32_MIN + 1);  // saturated, not wrapped

    ResetCountdown(model, host);  // F4
    EXPECT_EQ(host.Take(), (Calls{"stop-timer 101", "relayout", "center"}));
    EXPECT_EQ(StateOf(model), EngineState::Idle);
    EXPECT_EQ(model.m_remaining, 5);
}

// Times in ms as the window would read them; each tick is the timer's.
TEST_F(EngineTest, PauseKeepsThePartOfTheSecondAlreadySpent) {
    model.m_countdownSeconds = 600;
    struct Step {
        const char* what;  // "F2", "F3" or "tick"
        uint32_t at;       // ms; unused for ticks
        Calls calls;
        int32_t remaining;
    };
    const Step steps[] = {
        {"F2", 10000, {"relayout", "center", "start-timer"}, 600},
        {"tick", 0, {"present"}, 599},                                   // at 11000
        {"F3", 11400, {"stop-timer 101", "present"}, 599},               // 400 ms into the second
        {"F3", 20000, {"one-shot 600", "present"}, 599},                 // the rest of it
        {"tick", 0, {"stop-timer 102", "start-timer", "present"}, 598},  // at 20600: periodic from here
        {"tick", 0, {"present"}, 597},                                   // at 21600
        {"F3", 21850, {"stop-timer 103", "present"}, 597},
        {"F2", 30000, {"one-shot 750", "present"}, 597},                 // F2 resumes as F3 does
        {"F3", 30100, {"stop-timer 104", "present"}, 597},               // paused again before the one-shot
        {"F3", 40000, {"one-shot 650", "present"}, 597},                 // 250 + 100 spent
        {"tick", 0, {"stop-timer 105", "start-timer", "present"}, 596},  // at 40650
        {"F3", 41700, {"stop-timer 106", "present"}, 596},               // the 41650 tick still queued
        {"F3", 50000, {"one-shot 1", "present"}, 596},                   // the late second is not lost
        {"tick", 0, {"stop-timer 107", "start-timer", "present"}, 595},  // at 50001
        {"tick", 0, {"present"}, 594},                                   // due at 51001, fired at 50996
        {"F3", 50998, {"stop-timer 108", "present"}, 594},               // early: nothing spent yet
        {"F3", 60000, {"one-shot 1000", "present"}, 594},
    };
    for (const Step& step : steps) {
        if (std::string(step.what) == "tick")
            Tick();
        else if (std::string(step.what) == "F2")
            StartCountdown(model, host, step.at);
        else
            PauseOrResume(model, host, step.at);
        EXPECT_EQ(host.Take(), step.calls) << step.what << " at " << step.at;
        EXPECT_EQ(model.m_remaining, step.remaining) << step.what << " at " << step.at;
    }
    EXPECT_EQ(host.liveTimers, 1);
}

TEST_F(EngineTest, PauseInEachState) {
    PauseOrResume(model, host, 5);  // Idle: nothing
    EXPECT_TRUE(host.Take().empty());
    EXPECT_EQ(model.m_paused, 0);

    StartCountdown(model, host, 0);
    PauseOrResume(model, host, 300);
    PauseOrResume(model, host, 1000);
    const uint32_t oneShot = model.m_timerId;
    PauseOrResume(model, host, 1100);  // paused again before the one-shot fired: its tick is stale
    EXPECT_FALSE(IsLiveTick(model, oneShot));
    host.Take();
    ResetCountdown(model, host);  // F4 while paused: no timer runs to stop
    EXPECT_EQ(host.Take(), (Calls{"relayout", "center"}));
    EXPECT_EQ(model.m_paused, 0);
    EXPECT_EQ(StateOf(model), EngineState::Idle);

    StartCountdown(model, host, 0);
    for (int i = 0; i < 5; ++i) Tick();
    ASSERT_EQ(StateOf(model), EngineState::Alert);
    host.Take();
    PauseOrResume(model, host, 5000);  // the alert pauses too
    EXPECT_EQ(host.Take(), (Calls{"stop-timer 103", "present"}));
    EXPECT_EQ(model.m_paused, 1);
    EXPECT_EQ(host.liveTimers, 0);
}

TEST_F(EngineTest, PausedOneShotWrapsAroundTheClockToo) {
    StartCountdown(model, host, 0xFFFFFF00u);
    host.Take();
    PauseOrResume(model, host, 0xFFFFFF00u + 300u);
    PauseOrResume(model, host, 1000);
    EXPECT_EQ(host.Take(), (Calls{"stop-timer 101", "present", "one-shot 700", "present"}));
}

TEST_F(EngineTest, AMinuteMoreOrLessInEachState) {
    struct Row {
        EngineState state;
        int32_t remaining, delta, after;
        const char* call;  // null: nothing at all
    };
    const Row rows[] = {
        {EngineState::Idle, 600, 60, 660, "present"},          // "10:00" -> "11:00"
        {EngineState::Idle, 30, -60, 1, "relayout-in-place"},  // "30" -> "1"
        {EngineState::Idle, 1, -60, 1, "present"},
        {EngineState::Counting, 599, 60, 659, "relayout-in-place"},   // "9:59" -> "10:59"
        {EngineState::Counting, 659, -60, 599, "relayout-in-place"},  // and back: no wide window left
        {EngineState::Counting, 30, -60, 1, "relayout-in-place"},     // the alert still comes
        {EngineState::Counting, 1, -60, 1, "present"},
        {EngineState::Counting, 3590, 60, 3650, "relayout-in-place"},  // "59:50" -> "1:00:50"
        {EngineState::Counting, INT32_MAX - 10, 60, INT32_MAX, "present"},
        {EngineState::Alert, 30, 60, 30, nullptr},
        {EngineState::Alert, 30, -60, 30, nullptr},
    };
    for (const Row& row : rows) {
        model.m_running = row.state != EngineState::Idle;
        model.m_inAlert = row.state == EngineState::Alert;
        model.m_remaining = row.remaining;
        model.m_countdownSeconds = row.state == EngineState::Idle ? row.remaining : 600;
        model.m_timerId = model.m_running ? 7 : kNoTimer;
        AdjustTime(model, host, row.delta);
        EXPECT_EQ(host.Take(), row.call ? Calls{row.call} : Calls{}) << row.remaining << " " << row.delta;
        EXPECT_EQ(model.m_remaining, row.after) << row.remaining << " " << row.delta;
        // Idle changes the length that is stored; a running count leaves it.
        EXPECT_EQ(model.m_countdownSeconds, row.state == EngineState::Idle ? row.after : 600);
        EXPECT_EQ(model.m_timerId, model.m_running ? 7u : kNoTimer);  // the rhythm is kept
    }
}

TEST_F(EngineTest, AdjustingKeepsPauseOvertimeAndTheAlertComing) {
    model.m_countdownSeconds = 600;
    StartCountdown(model, host, 0);
    PauseOrResume(model, host, 300);
    host.Take();
    AdjustTime(model, host, 60);
    EXPECT_EQ(host.Take(), (Calls{"present"}));
    EXPECT_EQ(model.m_remaining, 660);
    EXPECT_EQ(model.m_paused, 1);
    EXPECT_EQ(SelectDisplayColorAlpha(), 0x7Fu);  // still drawn paused

    ResetCountdown(model, host);
    model.m_countdownSeconds = 5;
    model.m_overtime = 1;
    StartCountdown(model, host, 0);
    AdjustTime(model, host, -60);
    Tick();
    EXPECT_EQ(StateOf(model), EngineState::Alert);  // the alert still comes
    for (int i = 0; i < 3; ++i) Tick();
    host.Take();
    AdjustTime(model, host, -60);  // overtime: never back across zero
    AdjustTime(model, host, 60);
    EXPECT_TRUE(host.Take().empty());
    EXPECT_EQ(model.m_remaining, -3);
}

TEST_F(EngineTest, CountingDownToATimeLeavesTheStoredLength) {
    CountDownFrom(model, host, 1800, 0);  // from idle: the --until rows of the command line table
    PauseOrResume(model, host, 100);
    host.Take();
    CountDownFrom(model, host, 60, 200);  // over a paused count: afresh, not paused
    EXPECT_EQ(host.Take(), (Calls{"relayout", "center", "start-timer"}));
    EXPECT_EQ(model.m_paused, 0);
    CountDownFrom(model, host, 90, 300);  // over a running one: its timer stops first
    EXPECT_EQ(host.Take(), (Calls{"stop-timer 102", "relayout", "center", "start-timer"}));
    EXPECT_EQ(host.liveTimers, 1);
    ResetCountdown(model, host);
    EXPECT_EQ(model.m_remaining, 5);
}

TEST_F(EngineTest, CommandLineOrdersAsTyped) {
    using W = std::vector<std::string>;
    struct Row {
        W words;
        bool counting;  // before the orders
        Calls calls;
        int32_t remaining, length, paused;
    };
    const int32_t twoPm = 14 * 3600;
    const Row rows[] = {
        {W{"--start"}, false, {"relayout", "center", "start-timer"}, 5, 5, 0},
        {W{"--start"}, true, {}, 4, 5, 0},
        {W{"20m"}, false, {"relayout"}, 1200, 1200, 0},
        {W{"20m"}, true, {"stop-timer 101", "relayout", "center", "relayout"}, 1200, 1200, 0},
        {W{"--start", "20m"}, false, {"relayout", "relayout", "center", "start-timer"}, 1200, 1200, 0},
        {W{"--until", "14:30"}, false, {"relayout", "center", "start-timer"}, 1800, 5, 0},
        {W{"--until", "14:30", "--start", "--add", "60"},
         true,
         {"stop-timer 101", "relayout", "center", "start-timer", "present"},
         1860,
         5,
         0},
        {W{"--add", "-60"}, false, {"present"}, 1, 1, 0},
        {W{"--add", "3600"}, false, {"relayout-in-place"}, 3605, 3605, 0},
        {W{"--add", "-60"}, true, {"present"}, 1, 5, 0},
        {W{"--start", "--pause"}, false, {"relayout", "center", "start-timer", "stop-timer 101", "present"}, 5, 5, 1},
        {W{"--pause"}, false, {}, 5, 5, 0},
        {W{"--reset"}, true, {"stop-timer 101", "relayout", "center"}, 5, 5, 0},
        {W{"--reset", "--start"},
         true,
         {"stop-timer 101", "relayout", "center", "relayout", "center", "start-timer"},
         5,
         5,
         0},
    };
    for (const Row& row : rows) {
        CountdownModel fresh;
        fresh.m_countdownSeconds = 5;
        fresh.m_remaining = 5;
        model = fresh;
        host.nextId = 100;
        if (row.counting) {
            StartCountdown(model, host, 0);
            Tick();
        }
        host.Take();
        const ParsedCommandLine parsed = ParseCommandLine(row.words);
        ASSERT_TRUE(parsed.ok) << parsed.badWord;
        ApplyOrders(model, host, parsed.line.orders, 1000, twoPm);
        const std::string name = row.words[0] + (row.counting ? " (counting)" : "");
        EXPECT_EQ(host.Take(), row.calls) << name;
        EXPECT_EQ(model.m_remaining, row.remaining) << name;
        EXPECT_EQ(model.m_countdownSeconds, row.length) << name;
        EXPECT_EQ(model.m_paused, row.paused) << name;
    }
}
}  // namespace

#include "countdown/timer_resolution.h"

namespace {
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
