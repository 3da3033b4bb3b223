#include "clock/slide_follow.h"

namespace tallyglass {

namespace {
ClockCommand FromSlideShow(CommandKind kind) {
    ClockCommand command;
    command.kind = kind;
    command.wayIn = WayIn::SlideShow;
    return command;
}

bool Counting(const CountdownModel& model) { return model.m_running && !model.m_paused; }

bool PowerPointLost(const CountdownModel& model, const SlideShowSeen& seen) {
    const bool automation = seen.source == SlideShowSeen::Source::Automation;
    return !automation && (model.m_slideShowLost || model.m_slideShow.source == SlideShowSeen::Source::Automation);
}
}  // namespace

std::vector<ClockCommand> SlideShowCommands(const CountdownModel& model, const SlideShowSeen& seen) {
    std::vector<ClockCommand> commands;
    const SlideShowSeen& before = model.m_slideShow;
    if (!(seen == before)) {
        commands.push_back(FromSlideShow(CommandKind::SlideShowSeen));
        commands.back().slideShow = seen;
    }
    const bool began = !before.running && seen.running;
    // PowerPoint gone while its show ran (ended from Task Manager, crashed) is not the show's
    // end: the talk goes on while it is started again, and so does the count.
    const bool ended = before.running && !seen.running && !PowerPointLost(model, seen);
    const bool back = before.running && seen.running && !before.foreground && seen.foreground;
    const bool follow = model.m_slideShowMode == kSlidesFollow;
    if (began && model.m_slideShowMode != kSlidesOff && !model.m_running)
        commands.push_back(FromSlideShow(CommandKind::Start));
    else if (follow && (began || back))
        commands.push_back(FromSlideShow(CommandKind::SlideShowResume));
    else if (follow && ended)
        commands.push_back(FromSlideShow(CommandKind::SlideShowPause));
    return commands;
}

std::optional<ClockCommand> SlideShowAwayTooLong(const CountdownModel& model) {
    if (model.m_slideShowMode != kSlidesFollow || !model.m_slideShowAway || !Counting(model)) return std::nullopt;
    return FromSlideShow(CommandKind::SlideShowPause);
}

EngineEffects TakeSlideShowSeen(CountdownModel& model, const SlideShowSeen& seen) {
    EngineEffects fx;
    const std::optional<SlidePlace> placeBefore = SlidePlaceOf(model);
    if (!model.m_slideShow.SameSlides(seen.slides)) model.m_slideDeck = DeckOf(seen.slides);
    model.m_slideShowLost = PowerPointLost(model, seen) && seen.running ? 1 : 0;
    model.m_slideShow = seen;
    const bool away = seen.running && !seen.foreground;
    if (away != (model.m_slideShowAway != 0))
        fx.slideAway = away ? EngineEffects::SlideAway::Arm : EngineEffects::SlideAway::Stop;
    model.m_slideShowAway = away ? 1 : 0;
    const std::optional<SlidePlace> place = SlidePlaceOf(model);
    const bool moved = placeBefore.has_value() != place.has_value() ||
                       (place && (place->slide != placeBefore->slide || place->count != placeBefore->count));
    if (moved) {
        fx.viewersSee = true;
        if (model.m_slideNumberLine || model.m_slidePacingLine) fx.Ask(EngineEffects::Picture::Frame);
    }
    return fx;
}

EngineEffects PauseForSlideShow(CountdownModel& model, uint32_t nowMs) {
    if (!Counting(model)) return {};
    EngineEffects fx = PauseOrResume(model, nowMs);
    model.m_pausedBySlides = 1;
    return fx;
}

EngineEffects ResumeForSlideShow(CountdownModel& model, uint32_t nowMs) {
    if (!model.m_paused || !model.m_pausedBySlides) return {};
    model.m_pausedBySlides = 0;
    return PauseOrResume(model, nowMs);
}

std::optional<SlidePlace> SlidePlaceOf(const CountdownModel& model) {
    const SlideShowSeen& show = model.m_slideShow;
    if (!show.running || show.source != SlideShowSeen::Source::Automation || model.m_slideDeck.shown.empty())
        return std::nullopt;
    SlidePlace place;
    place.slide = ShownPosition(model.m_slideDeck, show.slideIndex);
    if (place.slide == 0) return std::nullopt;
    place.count = static_cast<int32_t>(model.m_slideDeck.shown.size());
    // Pace is kept only while the count runs from the start: idle there is no elapsed time to weigh.
    if (model.m_running && !model.m_inAlert)
        place.pace = PaceOf(SlideBudgets(model.m_slideDeck, model.m_countdownSeconds), place.slide, model.m_elapsed);
    return place;
}

std::string DescribeSlideShow(const CountdownModel& model) {
    if (model.m_slideShowMode == kSlidesOff) return {};
    std::string text = model.m_slideShowMode == kSlidesFollow ? "Slide show: follow. " : "Slide show: start. ";
    const SlideShowSeen& show = model.m_slideShow;
    const std::optional<SlidePlace> place = SlidePlaceOf(model);
    if (!show.running)
        text += "No slide show is running.";
    else if (place)
        text += "PowerPoint shows " + (show.deckName.empty() ? std::string("a deck") : show.deckName) + ", slide " +
                std::to_string(place->slide) + " of " + std::to_string(place->count) + ".";
    else
        text += "A slide show's window is up (its slides are known only through PowerPoint's automation).";
    if (show.running && model.m_slideDeck.firstUnreadable > 0)
        text += " The notes tag of slide " + std::to_string(model.m_slideDeck.firstUnreadable) +
                " does not read as a length, and is left out.";
    return text;
}

}  // namespace tallyglass
