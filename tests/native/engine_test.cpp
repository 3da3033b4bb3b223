#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "clock/clock_dispatch.h"
#include "clock/countdown_engine.h"
#include "clock/display_selection.h"
#include "clock/message_flash.h"
#include "clock/timer_resolution.h"
#include "command/command_line.h"

using namespace tallyglass;

namespace {
// Plays the window's part: arms the timers the effects ask for, and describes
// each event's effects as "stop-timer 101, start-timer, relayout, center".
class FakeWindow {
public:
    void Apply(CountdownModel& model, const EngineEffects& fx) {
        std::vector<std::string> parts;
        if (fx.stopTimer != kNoTimer) {
            parts.push_back("stop-timer " + std::to_string(fx.stopTimer));
            --liveTimers;
        }
        if (fx.armTimer != EngineEffects::Timer::None) {
            const bool periodic = fx.armTimer == EngineEffects::Timer::Periodic;
            parts.push_back(periodic ? "start-timer" : "one-shot " + std::to_string(fx.oneShotDelayMs));
            ++liveTimers;
            model.m_timerId = failTimer ? kNoTimer : ++nextId;
        }
        constexpr const char* kPictures[] = {nullptr, "present", "relayout-in-place", "relayout"};
        if (const char* picture = kPictures[static_cast<int>(fx.picture)]) parts.push_back(picture);
        if (fx.center) parts.push_back("center");
        if (fx.alertSound) parts.push_back("sound");
        if (fx.cueSound) parts.push_back("cue");
        for (const std::string& part : parts) calls += (calls.empty() ? "" : ", ") + part;
    }
    std::string Take() { return std::exchange(calls, {}); }

    std::string calls;
    int liveTimers = 0;
    uint32_t nextId = 100;
    bool failTimer = false;
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
    FakeWindow host;
    void Do(const EngineEffects& fx) { host.Apply(model, fx); }
    void SetUp() override {
        model = CountdownModel{};
        model.m_countdownSeconds = 5;
        model.m_alertSeconds = 3;
        model.m_remaining = 5;
        model.m_alertCenter = 1;
        host = FakeWindow{};
    }
    // The live timer's tick, fired on time, or lateMs after its second was due.
    void Tick(uint32_t lateMs = 0) {
        ASSERT_TRUE(IsLiveTick(model, model.m_timerId));
        Do(OnTimerTick(model, NextTickDueMs(model) + lateMs));
    }
    void Play(std::initializer_list<Step> steps) {
        int n = 0;
        for (const Step& step : steps) {
            const std::string key = step.key;
            if (key == "tick" && step.at != 0)
                Do(OnTimerTick(model, step.at));
            else if (key == "tick")
                Tick();
            else if (key == "next" || key == "prev")
                Do(MoveSegment(model, key == "next" ? 1 : -1));
            else if (key == "F2")
                Do(StartCountdown(model, step.at));
            else if (key == "F3")
                Do(PauseOrResume(model, step.at));
            else if (key == "F4")
                Do(ResetCountdown(model));
            else
                Do(AdjustTime(model, std::stoi(key)));
            EXPECT_EQ(host.Take(), step.calls) << "step " << n << ": " << key << " at " << step.at;
            EXPECT_EQ(model.m_remaining, step.remaining) << "step " << n << ": " << key << " at " << step.at;
            ++n;
        }
    }
};

TEST_F(EngineTest, F4InEachState) {
    Play({{"F2", 0, "start-timer, relayout, center", 5}, {"F4", 0, "stop-timer 101, relayout, center", 5}});
    model.m_inAlert = 1;
    Play({{"F4", 0, "", 5}});  // in Idle with a length: nothing at all but the alert flag goes
    EXPECT_EQ(model.m_inAlert, 0);
    model.m_remaining = 0;  // in Idle with a zero length: reset, no timer to stop
    Play({{"F4", 0, "relayout, center", 5}, {"F2", 0, "start-timer, relayout, center", 5}});
    for (int i = 0; i < 5; ++i) Tick();
    ASSERT_EQ(StateOf(model), EngineState::Alert);
    host.Take();
    Play({{"F4", 0, "stop-timer 102, relayout, center", 5}});
    EXPECT_EQ(model.m_inAlert, 0);
    host.failTimer = true;  // a timer that did not start: counting, nothing ticks, until F4
    Play({{"F2", 0, "start-timer, relayout, center", 5}});
    EXPECT_EQ(StateOf(model), EngineState::Counting);
    EXPECT_FALSE(IsLiveTick(model, kNoTimer));
    Play({{"F4", 0, "relayout, center", 5}});
    EXPECT_EQ(StateOf(model), EngineState::Idle);
}

// "+0:01" ... "+9:59" keep their width; "+10:00" and "+1:00:00" need more room;
// the alert length does not end it, F4 does.
TEST_F(EngineTest, OvertimeCountsUpAndWidensInPlaceUntilF4) {
    model.m_overtime = 1;
    Do(StartCountdown(model, 0));
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
        {"F2", 10000, "start-timer, relayout, center", 600},
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
        {"F3", 41700, "stop-timer 106, present", 535},             // the 41650 tick queued: counted first
        {"F3", 50000, "one-shot 950, present", 535},
        {"tick", 0, "stop-timer 107, start-timer, present", 534},  // at 50950
        {"tick", 51945, "present", 533},                           // due at 51950, fired early
        {"F3", 51948, "stop-timer 108, present", 533},             // early: nothing spent yet
        {"F3", 60000, "one-shot 1000, present", 533},
    });
    EXPECT_EQ(host.liveTimers, 1);
}

TEST_F(EngineTest, PauseInTheAlertAndAcrossTheClocksWrap) {
    Do(StartCountdown(model, 0xFFFFFF00u));
    host.Take();
    Play({{"F3", 0xFFFFFF00u + 300u, "stop-timer 101, present", 5}, {"F3", 1000, "one-shot 700, present", 5}});
    EXPECT_EQ(SelectDisplay(model).color >> 24, 0xFFu);
    const uint32_t oneShot = model.m_timerId;
    Play({{"F3", 1100, "stop-timer 102, present", 5}});
    EXPECT_EQ(SelectDisplay(model).color >> 24, 0x7Fu);  // drawn paused
    EXPECT_FALSE(IsLiveTick(model, oneShot));            // paused before the one-shot fired: its tick is stale
    Play({{"F4", 0, "relayout, center", 5}});            // no timer runs to stop
    EXPECT_EQ(model.m_paused, 0);

    Do(StartCountdown(model, 0));
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
        Do(AdjustTime(model, row.delta));
        EXPECT_EQ(host.Take(), row.calls) << row.remaining << " " << row.delta;
        EXPECT_EQ(model.m_remaining, row.after) << row.remaining << " " << row.delta;
        // Idle changes the length that is stored; a running count leaves it.
        EXPECT_EQ(model.m_countdownSeconds, row.state == EngineState::Idle ? row.after : 600);
        EXPECT_EQ(model.m_timerId, model.m_running ? 7u : kNoTimer);  // the rhythm is kept
    }
}

// One event's steps make one set of effects: the strongest picture, and a timer
// stopped within the event is never armed.
TEST_F(EngineTest, AnEventsStepsCombineIntoOneSetOfEffects) {
    Do(StartCountdown(model, 0));
    for (int i = 0; i < 4; ++i) Tick();
    host.Take();
    // The last second's tick is queued behind the pause: the alert begins, then it pauses.
    Play({{"F3", 5100, "stop-timer 101, relayout, center, sound", 3}});
    // Resumed in the alert's last second: its one-shot ends the alert, and no timer runs on.
    model.m_remaining = 1;
    Play({{"F3", 6000, "one-shot 900, present", 1}, {"tick", 0, "stop-timer 102, relayout, center", 5}});
    EXPECT_EQ(host.liveTimers, 0);
    // Resume only resumes.
    const tallyglass::ClockCommand resume{tallyglass::CommandKind::Resume, 0, {}, {}};
    Do(StartCountdown(model, 0));
    host.Take();
    Do(tallyglass::Dispatch(model, resume, {500, 0}));
    EXPECT_EQ(host.Take(), "");
    EXPECT_EQ(model.m_paused, 0);
    Do(PauseOrResume(model, 600));
    host.Take();
    Do(tallyglass::Dispatch(model, resume, {900, 0}));
    EXPECT_EQ(host.Take(), "one-shot 400, present");
}

// The count follows the host's clock: a stall or a sleep between two ticks is
// counted at the next one, each phase crossed on the way ends once, and only
// the phase the clock lands in is shown.
TEST_F(EngineTest, TheCountFollowsTheClockAcrossStallsAndSleeps) {
    model.m_countdownSeconds = 600;
    model.m_alertSeconds = 60;
    model.m_cues = {300, 120};
    Play({{"F2", 1000, "start-timer, relayout, center", 600},
          {"tick", 4300, "present", 597},  // 2.3 s late: three seconds at once
          {"tick", 4310, "", 597},         // queued behind it: nothing
          {"tick", 0, "present", 596},     // the rhythm goes on
          {"tick", 300000, "present", 301},
          {"tick", 0, "present, cue", 300},                // a cue reached by time
          {"tick", 483000, "present", 118},                // a cue passed by a sleep is not played late
          {"F3", 500500, "stop-timer 101, present", 101},  // a pause counts the seconds slept first
          {"F3", 600000, "one-shot 500, present", 101},
          {"tick", 600500, "stop-timer 102, start-timer, present", 100},
          {"tick", 701500, "relayout, center, sound", 59},  // a sleep across the end: the alert, 1 s in
          {"tick", 0, "present", 58},
          {"tick", 800000, "stop-timer 103, relayout, center", 600}});  // and across the alert's end
    EXPECT_EQ(StateOf(model), EngineState::Idle);
    EXPECT_EQ(host.liveTimers, 0);

    SetUp();
    model.m_overtime = 1;
    Play({{"F2", 0, "start-timer, relayout, center", 5},
          {"tick", 605000, "relayout, center, sound", -600}});  // overtime from the end, not from the wake
    EXPECT_EQ(SelectDisplay(model).text.find("+10:00"), model.m_alertText.size() + 1);

    SetUp();  // an overtime left running for weeks keeps counting past the 32-bit milliseconds' wrap
    model.m_overtime = 1;
    Do(StartCountdown(model, 0xFFFF0000u));
    for (int day = 0; day < 60; ++day) Tick(86'399'000);
    EXPECT_EQ(model.m_remaining, 5 - 60 * 86400 + 0);
    host.Take();
    Play({{"tick", 0, "present", 5 - 60 * 86400 - 1}});

    SetUp();  // woken: the seconds slept show at once, and the next on-time tick counts one
    Do(StartCountdown(model, 0));
    Do(OnWake(model, 3500));
    EXPECT_EQ(model.m_remaining, 2);
    host.Take();
    Play({{"tick", 0, "present", 1}});
    Do(PauseOrResume(model, 4200));
    Do(OnWake(model, 9000));  // paused: nothing passes
    EXPECT_EQ(model.m_remaining, 1);
}

TEST_F(EngineTest, ARunOfShowMovesAndAdvances) {
    model.m_show = {{"Welcome", 4}, {"Keynote", 2}, {"Q&A", 3}};
    model.m_countdownSeconds = 4;
    model.m_alertSeconds = 1;
    model.m_alertCenter = 0;
    Play({{"prev", 0, "", 5},  // at the first: nothing
          {"next", 0, "relayout, center", 2},
          {"F2", 0, "start-timer, relayout, center", 2},
          {"next", 0, "stop-timer 101, relayout, center", 3},  // a running count ends
          {"next", 0, "", 3},                                  // at the last: nothing
          {"prev", 0, "relayout, center", 2}});
    EXPECT_EQ(SelectDisplay(model).text, "Keynote");
    model.m_titleText = "Conference";  // the title key wins
    EXPECT_EQ(SelectDisplay(model).text, "Conference");

    Do(StartCountdown(model, 0));
    for (int i = 0; i < 3; ++i) Tick();  // the alert ends: without showadvance the segment stays
    EXPECT_EQ(model.m_segment, 1);
    model.m_showAdvance = 1;
    Do(StartCountdown(model, 0));
    for (int i = 0; i < 2; ++i) Tick();
    Do(ResetOrEndSegment(model, 0));  // F4 in an alert that ends by itself: a reset, the segment stays
    EXPECT_EQ(model.m_segment, 1);
    host.Take();
    Play({{"F2", 0, "start-timer, relayout, center", 2},
          {"tick", 0, "present", 1},
          {"F2", 0, "", 1},  // while counting: nothing
          {"tick", 0, "relayout, sound", 1},
          {"F2", 0, "", 1},                                      // in the alert: nothing
          {"tick", 0, "stop-timer 104, relayout, center", 3}});  // the alert ends: on, idle
    EXPECT_EQ(model.m_segment, 2);
    EXPECT_EQ(StateOf(model), EngineState::Idle);

    model.m_showAutoStart = 1;
    model.m_overtime = 1;
    Play({{"prev", 0, "relayout, center", 2}, {"F2", 0, "start-timer, relayout, center", 2}});
    for (int i = 0; i < 4; ++i) Tick();  // into overtime
    host.Take();
    Do(ResetOrEndSegment(model, 5000));  // F4 in overtime ends the segment: on, and started
    EXPECT_EQ(host.Take(), "stop-timer 105, start-timer, relayout, center");
    EXPECT_EQ(model.m_segment, 2);
    EXPECT_EQ(StateOf(model), EngineState::Counting);
    // An alert that ends by itself moves on and starts the next in one event, so
    // that a viewer gets one state: the next segment counting, never the idle ones between.
    model.m_overtime = 0;
    Do(GoToSegment(model, 1));
    Do(StartCountdown(model, 0));
    for (int i = 0; i < 4; ++i) Tick();  // into the alert
    host.Take();
    Play({{"tick", 0, "stop-timer 107, start-timer, relayout, center", 2}});
    EXPECT_EQ(model.m_segment, 1);
    EXPECT_EQ(StateOf(model), EngineState::Counting);
    Do(GoToSegment(model, 9));  // beyond the show: nothing
    Do(GoToSegment(model, 1));
    EXPECT_EQ(model.m_segment, 0);
    EXPECT_EQ(model.m_countdownSeconds, 4);
    // A show from --show's file replaces a running one: the clock waits on its first segment.
    Do(GoToSegment(model, 3));
    Do(StartCountdown(model, 0));
    ClockOrders orders;
    orders.show = {{{"Doors", 7}, {"Talk", 8}}};
    for (const ClockCommand& command : CommandsOf(orders)) Do(Dispatch(model, command, {0, 0}));
    EXPECT_EQ(model.m_show.size(), 2u);
    EXPECT_EQ(model.m_segment, 0);
    EXPECT_EQ(model.m_remaining, 7);
    EXPECT_EQ(StateOf(model), EngineState::Idle);
}

// A flash blinks the message's line five times, a half second each, whatever the count
// does; the viewers hear of its start and its end, never of its halves. A blackout is
// the viewers' alone, and only a change of it is news.
TEST_F(EngineTest, AFlashBlinksTheMessageAndOnlyItsStartAndEndAreNews) {
    const auto describe = [](const EngineEffects& fx) {
        constexpr const char* kBlinks[] = {"", "arm ", "stop "};
        return std::string(kBlinks[static_cast<int>(fx.blink)]) + (fx.viewersSee ? "news " : "") +
               (fx.picture == EngineEffects::Picture::Frame ? "frame" : "");
    };
    const CommandTime now{0, 0};
    EXPECT_EQ(describe(Dispatch(model, {CommandKind::FlashMessage, 0, {}, {}}, now)), "");  // no message: nothing
    model.m_message = "Wrap up";
    EXPECT_EQ(describe(Dispatch(model, {CommandKind::FlashMessage, 0, {}, {}}, now)), "arm news ");
    std::string hidden, seen;
    for (int step = 0; step < kBlinkSteps; ++step) {
        seen += describe(StepBlink(model)) + ";";
        hidden += std::to_string(model.m_messageHidden);
        if (step == 4) {
            EXPECT_EQ(describe(FlashMessage(model)), "news ");  // again: over from the start, no second timer
        }
    }
    EXPECT_EQ(hidden, "1010110101");
    EXPECT_EQ(seen, "frame;frame;frame;frame;frame;;frame;frame;frame;frame;");  // dark twice: no new frame
    for (int step = 0; step < 5; ++step) seen = describe(StepBlink(model));
    EXPECT_EQ(seen, "stop news frame");
    EXPECT_EQ(model.m_messageHidden, 0);
    EXPECT_EQ(describe(StepBlink(model)), "stop ");  // a step of a timer that outlived it
    EXPECT_EQ(describe(Dispatch(model, {CommandKind::BlackoutOn, 0, {}, {}}, now)), "news ");
    EXPECT_FALSE(Dispatch(model, {CommandKind::BlackoutOn, 0, {}, {}}, now).Changed());
    EXPECT_EQ(describe(Dispatch(model, {CommandKind::BlackoutOff, 0, {}, {}}, now)), "news ");
    EXPECT_EQ(model.m_blackout, 0);
}

// The elapsed face counts up while the same phases come at the same moments.
TEST_F(EngineTest, TheElapsedFaceCountsUpAndGrowsInPlace) {
    model.m_elapsedFace = 1;
    model.m_countdownSeconds = 70;
    model.m_remaining = 70;
    EXPECT_EQ(SelectDisplay(model).text, "1:10");  // idle: the length, as in every face
    Play({{"F2", 0, "start-timer, relayout, center", 70}});
    EXPECT_EQ(SelectDisplay(model).text, "0");
    for (int i = 0; i < 59; ++i) Tick();
    host.Take();
    Play({{"tick", 0, "relayout-in-place", 10}, {"+60", 0, "present", 70}});  // "59" -> "1:00"
    EXPECT_EQ(SelectDisplay(model).text, "1:00");  // a minute more moves the end, not the time spoken
    Do(PauseOrResume(model, 60500));
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
