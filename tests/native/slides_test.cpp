// The clock and the slides: the budget tags in the notes, the budgets they give the
// slides the show shows, the pace, and the commands a slide show's course becomes
// under each slideshow= mode, run through the one dispatcher.
#include <gtest/gtest.h>

#include "clock/clock_dispatch.h"
#include "clock/clock_notes.h"
#include "clock/clock_snapshot.h"
#include "clock/slide_follow.h"

using namespace tallyglass;

namespace {
TEST(Slides, NotesTagsAreBracketedLengthsAndNothingElse) {
    const struct {
        const char* notes;
        std::optional<int32_t> seconds;
        bool unreadable;
    } cases[] = {{"[2:00] Welcome everyone", 120, false},
                 {"Say hello [90s]", 90, false},
                 {"[pause] then [ 1m30s ]", 90, false},       // the speaker's own brackets are passed over
                 {"As shown in [1], then [45s]", 45, false},  // a footnote is no tag
                 {"[2 mins] is not a length", std::nullopt, true},
                 {"[2 mins] [30s]", 30, false},  // a later tag that reads is taken
                 {"[Demo] [] [2:00", std::nullopt, false},
                 {"", std::nullopt, false}};
    for (const auto& c : cases) {
        const NotesTag tag = ReadNotesTag(c.notes);
        EXPECT_EQ(tag.seconds, c.seconds) << c.notes;
        EXPECT_EQ(tag.unreadable, c.unreadable) << c.notes;
    }
}

// Hidden slides are skipped as the show skips them; the untagged share what the tags
// leave of the length, the first taking the odd seconds; tags beyond it leave them none.
TEST(Slides, BudgetsShareTheLengthAmongTheShownSlides) {
    const std::vector<SlideSeen> slides = {{false, "[2:00]"},  {false, ""},     {true, "[10m] hidden"},
                                           {false, "[later]"}, {false, "[1m]"}, {true, "[x1]"}};
    const SlideDeck deck = DeckOf(slides);
    EXPECT_EQ(deck.shown, (std::vector<int32_t>{1, 2, 4, 5}));
    EXPECT_EQ(deck.firstUnreadable, 0);  // "[x1]" opens on no digit, and is hidden anyway
    EXPECT_EQ(SlideBudgets(deck, 10 * 60 + 1), (std::vector<int32_t>{120, 211, 210, 60}));
    EXPECT_EQ(SlideBudgets(deck, 60), (std::vector<int32_t>{120, 0, 0, 60}));
    EXPECT_EQ(DeckOf({{false, "ok"}, {true, "[3 min]"}, {false, "[5 min]"}}).firstUnreadable, 3);

    EXPECT_EQ(ShownPosition(deck, 4), 3);
    EXPECT_EQ(ShownPosition(deck, 3), 2);  // a hidden slide jumped to counts as the one before
    EXPECT_EQ(ShownPosition(deck, 0), 0);
    EXPECT_EQ(ShownPosition(DeckOf({{true, ""}, {false, ""}}), 1), 1);
    EXPECT_EQ(ShownPosition(DeckOf({}), 1), 0);  // a show of no slides

    const std::vector<int32_t> budgets = {60, 60, 60};
    EXPECT_EQ(PaceOf(budgets, 2, 30), -30);  // ahead: before the slide's span
    EXPECT_EQ(PaceOf(budgets, 2, 120), 0);
    EXPECT_EQ(PaceOf(budgets, 2, 200), 80);  // behind
    EXPECT_EQ(PaceOf(budgets, 4, 200), 0);   // no such slide: no pace
    EXPECT_EQ(PaceText(-3700, true), "提前 1:01:40");
}

class SlideShowFollow : public ::testing::Test {
protected:
    CountdownModel model;
    uint32_t now = 1000;
    std::vector<CommandKind> kinds;  // the last observation's commands, for the test to read
    SlideShowFollow() {
        model.m_countdownSeconds = model.m_remaining = 600;
        model.m_slideShowMode = kSlidesFollow;
    }
    EngineEffects See(bool running, bool foreground, int32_t slide = 1,
                      SlideShowSeen::Source source = SlideShowSeen::Source::Automation) {
        SlideShowSeen seen;
        seen.source = source;
        seen.running = running;
        seen.foreground = foreground;
        seen.slideIndex = running ? slide : 0;
        if (running && source == SlideShowSeen::Source::Automation)
            seen.slides = {{false, "[1m]"}, {false, "[2m]"}, {true, ""}, {false, ""}};
        return Run(SlideShowCommands(model, seen));
    }
    EngineEffects Run(const std::vector<ClockCommand>& commands) {
        EngineEffects all;
        kinds.clear();
        for (const ClockCommand& command : commands) {
            kinds.push_back(command.kind);
            const EngineEffects fx = Dispatch(model, command, {now, 0});
            if (fx.armTimer != EngineEffects::Timer::None) model.m_timerId = 7;
            all.Join(fx);
            if (fx.slideAway != EngineEffects::SlideAway::None) all.slideAway = fx.slideAway;
        }
        return all;
    }
    bool Counting() const { return model.m_running && !model.m_paused; }
};

// follow: the show's start starts the count, its end pauses it, a show begun again
// resumes it; left for another program, the away timer runs and its end pauses; the
// return resumes. A pause of the presenter's own is never undone by the show.
TEST_F(SlideShowFollow, TheCountFollowsTheShowButNeverOverridesThePresenter) {
    See(true, true);
    EXPECT_TRUE(Counting());
    EXPECT_EQ(kinds, (std::vector<CommandKind>{CommandKind::SlideShowSeen, CommandKind::Start}));
    See(false, false);
    EXPECT_TRUE(model.m_paused);
    See(true, true);
    EXPECT_TRUE(Counting()) << "a show begun again resumes the pause it made";

    EXPECT_EQ(See(true, false).slideAway, EngineEffects::SlideAway::Arm);
    EXPECT_TRUE(Counting()) << "not at once";
    ASSERT_TRUE(SlideShowAwayTooLong(model));
    Run({*SlideShowAwayTooLong(model)});
    EXPECT_TRUE(model.m_paused);
    EXPECT_EQ(See(true, true).slideAway, EngineEffects::SlideAway::Stop);
    EXPECT_TRUE(Counting());
    See(true, false);
    See(true, true);
    EXPECT_FALSE(SlideShowAwayTooLong(model)) << "back within the time: the timer's end changes nothing";

    ClockCommand pause;
    pause.kind = CommandKind::PauseOrResume;
    pause.wayIn = WayIn::Key;
    Run({pause});  // F3
    See(false, false);
    See(true, true);
    EXPECT_TRUE(model.m_paused) << "the presenter's pause stands";
    Run({pause});
    See(false, false);  // the show pauses; the presenter resumes and pauses again: the pause is theirs
    Run({pause, pause});
    See(true, true);
    EXPECT_TRUE(model.m_paused) << "a pause taken over by the presenter stands too";
}

// PowerPoint gone while its show runs (killed, crashed) is no end of the show: the count
// goes on, whether its window lingers a round or not. An end seen by the window alone,
// where automation never answered, is an end.
TEST_F(SlideShowFollow, ALostPowerPointIsNoEndOfTheShow) {
    using Source = SlideShowSeen::Source;
    See(true, true);
    See(true, true, 0, Source::Window);
    See(false, false, 0, Source::None);
    EXPECT_TRUE(Counting());
    See(true, true);
    See(false, false, 0, Source::None);
    EXPECT_TRUE(Counting());
    See(true, true, 0, Source::Window);
    See(false, false, 0, Source::None);
    EXPECT_TRUE(model.m_paused);
}

// start: only the beginning counts; off: the show is seen (its slide for the state) and nothing more.
TEST_F(SlideShowFollow, StartOnlyStartsAndOffOnlyLooks) {
    model.m_slideShowMode = kSlidesStart;
    See(true, true);
    EXPECT_TRUE(Counting());
    See(true, false);
    See(false, false);
    EXPECT_TRUE(Counting()) << "start never pauses";
    model = CountdownModel{};
    See(true, true);
    EXPECT_FALSE(model.m_running);
    EXPECT_EQ(kinds, std::vector<CommandKind>{CommandKind::SlideShowSeen});
    See(true, true);
    EXPECT_TRUE(kinds.empty()) << "the same sight again makes no command";
}

// The slide among those shown, the state's fields and the lines under the time, which
// ask for a frame only when they show and the slide moved.
TEST_F(SlideShowFollow, TheSlideAndThePaceReachTheStateAndTheClock) {
    model.m_colorNormal = 0xFF00FF00;
    model.m_colorWarn = 0xFFFFC000;
    model.m_slideNumberLine = model.m_slidePacingLine = 1;
    See(true, true, 1);
    EXPECT_EQ(See(true, true, 2).picture, EngineEffects::Picture::Frame);
    model.m_elapsed = 200;  // slide 2 spans 60..180 s: 20 s behind
    ClockSnapshot state = SnapshotOf(model, 0, 0, "");
    EXPECT_EQ(state.slide, 2);
    EXPECT_EQ(state.slideCount, 3);  // the hidden one is not counted
    EXPECT_EQ(state.pace, 20);
    EXPECT_EQ(ClockNotes(model), (std::vector<ClockNote>{{"Slide 2 / 3", 0xFF00FF00}, {"0:20 behind", 0xFFFFC000}}));
    model.m_elapsed = 100;
    EXPECT_EQ(ClockNotes(model), (std::vector<ClockNote>{{"Slide 2 / 3", 0xFF00FF00}})) << "on pace: no pace line";
    model.m_elapsed = 30;
    model.m_language = UiLanguage::Chinese;
    EXPECT_EQ(ClockNotes(model), (std::vector<ClockNote>{{"幻灯片 2 / 3", 0xFF00FF00}, {"提前 0:30", 0xFF00FF00}}));
    model.m_slideNumberLine = model.m_slidePacingLine = 0;
    EXPECT_EQ(See(true, true, 4).picture, EngineEffects::Picture::None);
    EXPECT_TRUE(See(true, true, 4).viewersSee == false);
    EXPECT_EQ(DescribeSlideShow(model), "Slide show: follow. PowerPoint shows a deck, slide 3 of 3.");
    See(false, false);
    EXPECT_EQ(DescribeSlideShow(model), "Slide show: follow. No slide show is running.");
    state = SnapshotOf(model, 0, 0, "");
    EXPECT_FALSE(state.slide || state.slideCount || state.pace);
    EXPECT_TRUE(ClockNotes(model).empty());
}
}  // namespace
