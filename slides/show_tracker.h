#pragma once
// The watcher's memory between rounds, with no call of its own: what one round read
// becomes what the clock is told, and when the deck is worth reading again.
#include <cstdint>
#include <string>
#include <vector>

#include "command/slide_show_seen.h"

namespace tallyglass {

// What one round read through automation.
struct ShowReading {
    bool running = false;     // a slide show window exists
    bool foreground = false;  // the show picked is in front
    uint64_t show = 0;        // its window, as a number: another one is another show
    int32_t slideIndex = 0;   // 0 when no slide could be read (the end-of-show black slide)
    int32_t slideCount = 0;   // the deck's, hidden slides included
};

class ShowTracker {
public:
    // A new show, a deck whose slide count changed, or one not read yet.
    bool WantsDeck(const ShowReading& reading) const;
    void TakeDeck(const ShowReading& reading, std::vector<SlideSeen> slides, std::string deckName);
    // Each brings `seen` (what the clock was last told, kept by the caller) up to this
    // round and says whether it changed. The deck is copied into it only when it is new
    // to it, not at every round.
    bool Apply(const ShowReading& reading, SlideShowSeen& seen);
    // Begin and end from the show's window alone: no slide, no deck.
    bool ApplyWindow(bool running, bool foreground, SlideShowSeen& seen);
    // PowerPoint went away: whatever comes next is new.
    void Forget() { *this = ShowTracker(); }

private:
    uint64_t m_deckShow = 0;
    int32_t m_deckCount = -1;
    std::vector<SlideSeen> m_slides;
    std::string m_deckName;
    bool m_deckGiven = false;  // `seen` holds the deck above
    uint64_t m_indexShow = 0;
    int32_t m_lastIndex = 0;
};

}  // namespace tallyglass
