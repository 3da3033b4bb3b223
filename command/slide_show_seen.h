#pragma once
// What the clock learns of a slide show, from PowerPoint's automation object or,
// where that cannot be had, from the show's full-screen window alone. The watcher
// hands one of these over whenever what it sees changes; the clock turns it into
// its commands on the window's thread.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tallyglass {

// One slide of the deck the show runs, in the deck's order.
struct SlideSeen {
    bool hidden = false;  // the show skips it
    std::string notes;    // UTF-8, the speaker notes' text, at most kSlideNotesBytes
};

constexpr size_t kSlideNotesBytes = 4096;
constexpr size_t kDeckSlidesMax = 2000;

struct SlideShowSeen {
    enum class Source : uint8_t { None, Automation, Window };
    Source source = Source::None;
    bool running = false;     // a slide show is up
    bool foreground = false;  // and its window is the foreground one
    // From automation only; 0 and empty from the window alone.
    int32_t slideIndex = 0;         // the deck's index (1-based) of the slide showing
    std::vector<SlideSeen> slides;  // the whole deck, hidden slides included
    std::string deckName;           // the presentation's name, for About

    bool operator==(const SlideShowSeen& other) const {
        return source == other.source && running == other.running && foreground == other.foreground &&
               slideIndex == other.slideIndex && deckName == other.deckName && SameSlides(other.slides);
    }
    bool SameSlides(const std::vector<SlideSeen>& other) const {
        if (slides.size() != other.size()) return false;
        for (size_t i = 0; i < slides.size(); ++i)
            if (slides[i].hidden != other[i].hidden || slides[i].notes != other[i].notes) return false;
        return true;
    }
};

}  // namespace tallyglass
