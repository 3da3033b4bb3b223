#include "clock/clock_notes.h"

#include "clock/schedule.h"
#include "clock/slide_follow.h"

namespace tallyglass {

namespace {
// A note drawn fully opaque whatever the time's own colour does (a pause halves it).
uint32_t Opaque(uint32_t color) { return color | 0xFF000000u; }

void AddSlideNotes(const CountdownModel& model, std::vector<ClockNote>& notes) {
    const std::optional<SlidePlace> place = SlidePlaceOf(model);
    if (!place) return;
    const bool chinese = model.m_language == UiLanguage::Chinese;
    if (model.m_slideNumberLine) {
        const std::string count = std::to_string(place->slide) + " / " + std::to_string(place->count);
        notes.push_back({(chinese ? "幻灯片 " : "Slide ") + count, Opaque(model.m_colorNormal)});
    }
    if (model.m_slidePacingLine && place->pace != 0)
        notes.push_back(
            {PaceText(place->pace, chinese), Opaque(place->pace > 0 ? model.m_colorWarn : model.m_colorNormal)});
}
}  // namespace

std::vector<ClockNote> ClockNotes(const CountdownModel& model) {
    std::vector<ClockNote> notes;
    if (model.m_scheduleLine && model.m_scheduleOffset) {
        const int32_t offset = *model.m_scheduleOffset;
        notes.push_back(
            {OffsetText(offset), Opaque(offset > kLateAfterSeconds ? model.m_colorWarn : model.m_colorNormal)});
    }
    const size_t next = static_cast<size_t>(model.m_segment) + 1;
    if (model.m_nextLateToStart > 0 && next < model.m_show.size())
        notes.push_back(
            {model.m_show[next].name + " " + OffsetText(model.m_nextLateToStart), Opaque(model.m_colorWarn)});
    AddSlideNotes(model, notes);
    return notes;
}

}  // namespace tallyglass
