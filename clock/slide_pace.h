#pragma once
// A deck's time budget, slide by slide, and whether the talk keeps pace with it. Each
// slide's budget comes from a tag in its notes ("[2:00]", "[90s]", any length the
// clock reads, in square brackets); the slides without one share what the tags leave
// of the length evenly. The show skips hidden slides, and so does the budget.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "command/slide_show_seen.h"

namespace tallyglass {

// What a slide's notes say of its budget: none, a length, or a tag that does not read.
struct NotesTag {
    std::optional<int32_t> seconds;
    bool unreadable = false;  // a bracket that opens on a digit but is no length: "[2 mins]"
};
// The first bracketed length in the notes ("[2:00]", "[90s]", "[1m30s]"); brackets that
// open on no digit ("[pause]", "[Demo]") and bare numbers (a footnote's "[1]") are the
// speaker's own, not a tag.
NotesTag ReadNotesTag(std::string_view notes);

struct SlideDeck {
    std::vector<int32_t> shown;                // the deck index (from 1) of each slide the show shows
    std::vector<std::optional<int32_t>> tags;  // each shown slide's tagged budget
    int32_t firstUnreadable = 0;               // the deck index of the first slide whose tag does not read; 0: none
};
SlideDeck DeckOf(const std::vector<SlideSeen>& slides);

// Each shown slide's budget in seconds, summing to the length where the tags leave
// room (the first slides take the odd seconds); tags beyond it leave the rest none.
std::vector<int32_t> SlideBudgets(const SlideDeck& deck, int32_t lengthSeconds);

// The slide showing as the show counts it (from 1): a hidden slide jumped to counts
// as the shown one before it; 0 when the deck index is not one of the deck's.
int32_t ShownPosition(const SlideDeck& deck, int32_t slideIndex);

// 0 while elapsed lies within the slide's planned span; past its end, the seconds
// behind (positive); before its start, the seconds ahead (negative).
int32_t PaceOf(const std::vector<int32_t>& budgets, int32_t position, int32_t elapsedSeconds);

// "1:20 behind" / "0:30 ahead" (落后 1:20 / 提前 0:30); empty on pace.
std::string PaceText(int32_t pace, bool chinese);

}  // namespace tallyglass
