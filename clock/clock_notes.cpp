#include "clock/clock_notes.h"

#include "clock/schedule.h"

namespace tallyglass {

namespace {
// A note drawn fully opaque whatever the time's own colour does (a pause halves it).
uint32_t Opaque(uint32_t color) { return color | 0xFF000000u; }
}  // namespace

std::vector<ClockNote> ClockNotes(const CountdownModel& model) {
    std::vector<ClockNote> notes;
    if (model.m_scheduleLine && model.m_scheduleOffset) {
        const int32_t offset = *model.m_scheduleOffset;
        notes.push_back({OffsetText(offset), Opaque(offset > kLateAfterSeconds ? model.m_colorWarn : model.m_colorNormal)});
    }
    const size_t next = static_cast<size_t>(model.m_segment) + 1;
    if (model.m_nextLateToStart > 0 && next < model.m_show.size())
        notes.push_back({model.m_show[next].name + " " + OffsetText(model.m_nextLateToStart), Opaque(model.m_colorWarn)});
    return notes;
}

}  // namespace tallyglass
