#include "clock/slide_pace.h"

#include <cctype>

#include "base/duration_text.h"
#include "base/text_scan.h"

namespace tallyglass {

NotesTag ReadNotesTag(std::string_view notes) {
    NotesTag tag;
    for (size_t open = notes.find('['); open != std::string_view::npos; open = notes.find('[', open + 1)) {
        const size_t close = notes.find(']', open + 1);
        if (close == std::string_view::npos) break;
        const std::string_view inside = Trim(notes.substr(open + 1, close - open - 1));
        if (inside.empty() || !std::isdigit(static_cast<unsigned char>(inside.front()))) continue;
        if (inside.find_first_not_of("0123456789") == std::string_view::npos) continue;  // a footnote's "[1]"
        if (const std::optional<int32_t> seconds = ParseDuration(inside)) return {seconds, false};
        tag.unreadable = true;
    }
    return tag;
}

SlideDeck DeckOf(const std::vector<SlideSeen>& slides) {
    SlideDeck deck;
    for (size_t i = 0; i < slides.size(); ++i) {
        if (slides[i].hidden) continue;
        const auto index = static_cast<int32_t>(i + 1);
        const NotesTag tag = ReadNotesTag(slides[i].notes);
        if (tag.unreadable && deck.firstUnreadable == 0) deck.firstUnreadable = index;
        deck.shown.push_back(index);
        deck.tags.push_back(tag.seconds);
    }
    return deck;
}

std::vector<int32_t> SlideBudgets(const SlideDeck& deck, int32_t lengthSeconds) {
    int64_t left = lengthSeconds > 0 ? lengthSeconds : 0;
    int64_t untagged = 0;
    for (const std::optional<int32_t>& tag : deck.tags) {
        if (tag)
            left -= *tag;
        else
            ++untagged;
    }
    left = left > 0 ? left : 0;
    std::vector<int32_t> budgets;
    int64_t shared = 0;
    for (const std::optional<int32_t>& tag : deck.tags) {
        if (tag) {
            budgets.push_back(*tag);
            continue;
        }
        const int64_t each = left / untagged + (shared < left % untagged ? 1 : 0);
        ++shared;
        budgets.push_back(static_cast<int32_t>(each));
    }
    return budgets;
}

int32_t ShownPosition(const SlideDeck& deck, int32_t slideIndex) {
    int32_t position = 0;
    for (const int32_t index : deck.shown) {
        if (index > slideIndex) break;
        ++position;
    }
    const bool inDeck = slideIndex >= 1 && !deck.shown.empty();
    return inDeck ? (position > 0 ? position : 1) : 0;
}

int32_t PaceOf(const std::vector<int32_t>& budgets, int32_t position, int32_t elapsedSeconds) {
    if (position < 1 || static_cast<size_t>(position) > budgets.size()) return 0;
    int64_t start = 0;
    for (int32_t i = 0; i + 1 < position; ++i) start += budgets[static_cast<size_t>(i)];
    const int64_t end = start + budgets[static_cast<size_t>(position - 1)];
    const int64_t pace = elapsedSeconds > end     ? elapsedSeconds - end
                         : elapsedSeconds < start ? elapsedSeconds - start
                                                  : 0;
    return static_cast<int32_t>(pace);
}

std::string PaceText(int32_t pace, bool chinese) {
    if (pace == 0) return {};
    const std::string time = SpanText(pace);
    if (chinese) return (pace > 0 ? "落后 " : "提前 ") + time;
    return time + (pace > 0 ? " behind" : " ahead");
}

}  // namespace tallyglass
