#include <gtest/gtest.h>

#include "slides/call_outcome.h"
#include "slides/show_tracker.h"
#include "slides/slide_text.h"

using namespace tallyglass;

namespace {
ShowReading Running(uint64_t show, int32_t slide, int32_t count, bool foreground = true) {
    ShowReading reading;
    reading.running = true;
    reading.foreground = foreground;
    reading.show = show;
    reading.slideIndex = slide;
    reading.slideCount = count;
    return reading;
}

std::vector<SlideSeen> Deck(std::initializer_list<const char*> notes) {
    std::vector<SlideSeen> slides;
    for (const char* text : notes) slides.push_back(SlideSeen{false, text});
    return slides;
}

TEST(SlidesText, NotesCutOnACharacterAndLinesEndedByNewline) {
    struct Cut {
        const char* text;
        size_t limit;
        const char* expected;
    };
    const Cut cuts[] = {
        {"abc", 5, "abc"},
        {"abc", 2, "ab"},
        {"abc", 3, "abc"},
        {"\xC3\xA9", 1, ""},
        {"a\xC3\xA9x", 2, "a"},
        {"a\xC3\xA9x", 3, "a\xC3\xA9"},  // é
        {"\xE2\x82\xAC", 2, ""},
        {"a\xE2\x82\xAC", 3, "a"},
        {"a\xE2\x82\xAC", 4, "a\xE2\x82\xAC"},  // €
        {"\xF0\x9F\x8E\xA4!", 3, ""},
        {"\xF0\x9F\x8E\xA4!", 4, "\xF0\x9F\x8E\xA4"},  // 🎤
    };
    for (const Cut& cut : cuts) EXPECT_EQ(cut.expected, CutUtf8(cut.text, cut.limit)) << cut.text << " " << cut.limit;
    EXPECT_EQ("[2:00] Intro\nline\nnext\n", NotesLines("[2:00] Intro\rline\vnext\n"));
}

TEST(SlidesOutcome, BusyGoneOrFailedByResult) {
    EXPECT_EQ(CallOutcome::Done, OutcomeOf(0));
    EXPECT_EQ(CallOutcome::Done, OutcomeOf(1));  // S_FALSE
    for (uint32_t busy : {0x80010001u, 0x80010002u, 0x8001010Au, 0x8001010Bu})
        EXPECT_EQ(CallOutcome::Busy, OutcomeOf(static_cast<int32_t>(busy))) << std::hex << busy;
    for (uint32_t gone : {0x80010007u, 0x80010012u, 0x80010108u, 0x800401FDu, 0x800706BAu, 0x800706BEu, 0x800706BFu})
        EXPECT_EQ(CallOutcome::Gone, OutcomeOf(static_cast<int32_t>(gone))) << std::hex << gone;
    // DISP_E_EXCEPTION (the black slide), DISP_E_BADINDEX, E_FAIL, DISP_E_MEMBERNOTFOUND
    for (uint32_t failed : {0x80020009u, 0x8002000Bu, 0x80004005u, 0x80020003u})
        EXPECT_EQ(CallOutcome::Failed, OutcomeOf(static_cast<int32_t>(failed))) << std::hex << failed;
}

// A show's life as the rounds read it: what the clock is told, and when the deck is read.
TEST(SlidesTracker, ShowLifeToldOnceAndDeckReadOnlyWhenNew) {
    ShowTracker tracker;
    SlideShowSeen seen;
    EXPECT_TRUE(tracker.Apply(ShowReading{}, seen)) << "PowerPoint without a show is PowerPoint found";
    EXPECT_EQ(SlideShowSeen::Source::Automation, seen.source);
    EXPECT_FALSE(seen.running);
    EXPECT_FALSE(tracker.Apply(ShowReading{}, seen));

    const ShowReading first = Running(0x10, 1, 3);
    EXPECT_TRUE(tracker.WantsDeck(first));
    EXPECT_TRUE(tracker.Apply(first, seen)) << "the show is told before its deck is read";
    EXPECT_TRUE(seen.running && seen.foreground && seen.slideIndex == 1 && seen.slides.empty());
    EXPECT_EQ(SlideShowSeen::Source::Automation, seen.source);

    tracker.TakeDeck(first, Deck({"[1:00] a", "b", "c"}), "Talk.pptx");
    EXPECT_FALSE(tracker.WantsDeck(first));
    EXPECT_TRUE(tracker.Apply(first, seen));
    EXPECT_EQ(3u, seen.slides.size());
    EXPECT_EQ("Talk.pptx", seen.deckName);
    EXPECT_FALSE(tracker.Apply(first, seen)) << "a steady round tells nothing";

    EXPECT_TRUE(tracker.Apply(Running(0x10, 2, 3), seen));
    EXPECT_EQ(2, seen.slideIndex);
    EXPECT_TRUE(tracker.Apply(Running(0x10, 2, 3, false), seen)) << "left for another program";
    EXPECT_FALSE(seen.foreground);

    EXPECT_FALSE(tracker.Apply(Running(0x10, 0, 3, false), seen)) << "the black slide keeps the slide it left";
    EXPECT_EQ(2, seen.slideIndex);
    EXPECT_TRUE(seen.running);

    const ShowReading grown = Running(0x10, 3, 4, false);
    EXPECT_TRUE(tracker.WantsDeck(grown)) << "a slide added during the show";
    EXPECT_TRUE(tracker.Apply(grown, seen));
    EXPECT_TRUE(seen.slides.empty()) << "a deck of another length is not passed off as this one";

    const ShowReading other = Running(0x20, 0, 3);
    EXPECT_TRUE(tracker.WantsDeck(other)) << "another show, even of as many slides";
    EXPECT_TRUE(tracker.Apply(other, seen));
    EXPECT_EQ(0, seen.slideIndex) << "another show does not inherit the last one's slide";

    EXPECT_TRUE(tracker.Apply(ShowReading{}, seen));
    EXPECT_FALSE(seen.running || seen.foreground);
    EXPECT_EQ(0, seen.slideIndex);
    EXPECT_FALSE(tracker.WantsDeck(ShowReading{})) << "no deck without a show";
}

TEST(SlidesTracker, WindowAloneTellsBeginAndEndOnly) {
    ShowTracker tracker;
    SlideShowSeen seen;
    const ShowReading show = Running(0x10, 2, 1);
    tracker.TakeDeck(show, Deck({"[1:00] a"}), "Talk.pptx");
    ASSERT_TRUE(tracker.Apply(show, seen));
    ASSERT_EQ(1u, seen.slides.size());

    EXPECT_TRUE(tracker.ApplyWindow(true, true, seen)) << "automation lost, the window still up";
    EXPECT_EQ(SlideShowSeen::Source::Window, seen.source);
    EXPECT_TRUE(seen.running && seen.foreground);
    EXPECT_TRUE(seen.slides.empty() && seen.deckName.empty() && seen.slideIndex == 0);
    EXPECT_FALSE(tracker.ApplyWindow(true, true, seen));
    EXPECT_TRUE(tracker.ApplyWindow(true, false, seen));
    EXPECT_FALSE(seen.foreground);

    EXPECT_TRUE(tracker.Apply(show, seen)) << "automation back: its deck is handed over again";
    EXPECT_EQ(1u, seen.slides.size());
    EXPECT_EQ(2, seen.slideIndex);

    EXPECT_TRUE(tracker.ApplyWindow(false, true, seen));
    EXPECT_EQ(SlideShowSeen::Source::None, seen.source);
    EXPECT_FALSE(seen.running || seen.foreground) << "no show is never in front";
}
}  // namespace
