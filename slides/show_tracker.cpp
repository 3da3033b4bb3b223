#include "slides/show_tracker.h"

#include <utility>

namespace tallyglass {

namespace {
template <typename Field, typename Value>
void Set(Field& field, const Value& value, bool& changed) {
    if (field == value) return;
    field = value;
    changed = true;
}
}  // namespace

bool ShowTracker::WantsDeck(const ShowReading& reading) const {
    return reading.running && (reading.show != m_deckShow || reading.slideCount != m_deckCount);
}

void ShowTracker::TakeDeck(const ShowReading& reading, std::vector<SlideSeen> slides, std::string deckName) {
    m_deckShow = reading.show;
    m_deckCount = reading.slideCount;
    m_slides = std::move(slides);
    m_deckName = std::move(deckName);
    m_deckGiven = false;
}

bool ShowTracker::Apply(const ShowReading& reading, SlideShowSeen& seen) {
    bool changed = false;
    Set(seen.source, SlideShowSeen::Source::Automation, changed);
    Set(seen.running, reading.running, changed);
    Set(seen.foreground, reading.running && reading.foreground, changed);
    if (!reading.running) {
        m_indexShow = 0;
        m_lastIndex = 0;
    } else if (reading.slideIndex > 0 || reading.show != m_indexShow) {
        // The black slide after the last has no Slide: the show still runs, on the slide it left.
        m_indexShow = reading.show;
        m_lastIndex = reading.slideIndex;
    }
    Set(seen.slideIndex, m_lastIndex, changed);
    const bool deckFits = reading.running && reading.show == m_deckShow && reading.slideCount == m_deckCount;
    if (deckFits != m_deckGiven) {
        seen.slides = deckFits ? m_slides : std::vector<SlideSeen>{};
        seen.deckName = deckFits ? m_deckName : std::string();
        m_deckGiven = deckFits;
        changed = true;
    }
    return changed;
}

bool ShowTracker::ApplyWindow(bool running, bool foreground, SlideShowSeen& seen) {
    bool changed = false;
    Set(seen.source, running ? SlideShowSeen::Source::Window : SlideShowSeen::Source::None, changed);
    Set(seen.running, running, changed);
    Set(seen.foreground, running && foreground, changed);
    Set(seen.slideIndex, 0, changed);
    if (!seen.slides.empty() || !seen.deckName.empty()) {
        seen.slides.clear();
        seen.deckName.clear();
        changed = true;
    }
    m_deckGiven = false;
    m_indexShow = 0;
    m_lastIndex = 0;
    return changed;
}

}  // namespace tallyglass
