#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "countdown/countdown_engine.h"

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
    void StopPeriodicTimer(uint32_t id) override {
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
    void Tick() {
        ASSERT_TRUE(IsLiveTick(model, model.m_timerId));
        OnTimerTick(model, host);
    }
};

using Calls = std::vector<std::string>;

TEST_F(EngineTest, ValuesShownAfterF2) {
    StartCountdown(model, host);
    for (int k = 1; k <= 5 + 3; ++k) Tick();
    const std::vector<int32_t> expected{5, 4, 3, 2, 1, 3, 2, 1, 5};
    EXPECT_EQ(host.shown, expected);  // 0 never shown; N + A ticks make one cycle
    EXPECT_EQ(StateOf(model), EngineState::Idle);
    EXPECT_EQ(host.liveTimers, 0);
}

TEST_F(EngineTest, TransitionsFromIdle) {
    StartCountdown(model, host);
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
    StartCountdown(model, host);
    host.Take();
    StartCountdown(model, host);  // F2 while counting: nothing
    EXPECT_TRUE(host.Take().empty());

    Tick();
    EXPECT_EQ(host.Take(), (Calls{"present"}));
    for (int i = 0; i < 3; ++i) Tick();
    host.Take();
    Tick();  // 1 -> alert
    EXPECT_EQ(host.Take(), (Calls{"relayout", "center", "sound"}));
    EXPECT_EQ(StateOf(model), EngineState::Alert);
    EXPECT_EQ(model.m_remaining, 3);

    StartCountdown(model, host);  // F2 in alert: nothing
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
    StartCountdown(model, host);
    EXPECT_EQ(host.shown.back(), 1);
    host.Take();
    Tick();
    EXPECT_EQ(host.Take(), (Calls{"relayout", "sound"}));
    Tick();
    EXPECT_EQ(host.Take(), (Calls{"stop-timer 101", "relayout", "center"}));
    EXPECT_EQ(StateOf(model), EngineState::Idle);
}

TEST_F(EngineTest, StaleTicksAreRecognised) {
    StartCountdown(model, host);
    const uint32_t first = model.m_timerId;
    ResetCountdown(model, host);
    EXPECT_FALSE(IsLiveTick(model, first));  // a tick posted before the reset
    StartCountdown(model, host);
    EXPECT_FALSE(IsLiveTick(model, first));
    EXPECT_TRUE(IsLiveTick(model, model.m_timerId));
    EXPECT_FALSE(IsLiveTick(model, kNoTimer));
}

TEST_F(EngineTest, FailedTimerLeavesCountingUntilF4) {
    host.failTimer = true;
    StartCountdown(model, host);
    EXPECT_EQ(StateOf(model), EngineState::Counting);
    EXPECT_EQ(model.m_timerId, kNoTimer);
    StartCountdown(model, host);
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

TEST_F(EngineTest, NewCountdownWhileRunningStopsAndEndsWithRelayout) {
    StartCountdown(model, host);
    Tick();
    Tick();
    host.Take();
    CountdownValues values = ValuesOf(model);
    values.m_countdownSeconds = 42;
    ApplyNewCountdown(model, host, values);
    EXPECT_EQ(host.Take(), (Calls{"stop-timer 101", "relayout", "center", "relayout"}));
    EXPECT_EQ(StateOf(model), EngineState::Idle);
    EXPECT_EQ(model.m_remaining, 42);
}

TEST_F(EngineTest, NewCountdownAfterAlertBeganInTheDialog) {
    StartCountdown(model, host);
    for (int i = 0; i < 6; ++i) Tick();  // the alert began while the dialog was open
    ASSERT_EQ(StateOf(model), EngineState::Alert);
    ApplyNewCountdown(model, host, ValuesOf(model));
    EXPECT_EQ(StateOf(model), EngineState::Idle);
    EXPECT_EQ(model.m_remaining, 5);
    EXPECT_EQ(host.liveTimers, 0);
}
TEST_F(EngineTest, OvertimeCountsUpAndWidensInPlaceUntilF4) {
    model.m_overtime = 1;
    StartCountdown(model, host);
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

TEST_F(EngineTest, NewCountdownEndsOvertime) {
    model.m_overtime = 1;
    StartCountdown(model, host);
    for (int i = 0; i < 9; ++i) Tick();  // four seconds over
    ASSERT_EQ(model.m_remaining, -4);
    CountdownValues values = ValuesOf(model);
    values.m_countdownSeconds = 42;
    ApplyNewCountdown(model, host, values);
    EXPECT_EQ(StateOf(model), EngineState::Idle);
    EXPECT_EQ(model.m_remaining, 42);
    EXPECT_EQ(host.liveTimers, 0);
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
