#include "clock/clock_snapshot.h"

#include "base/duration_text.h"
#include "clock/display_selection.h"
#include "clock/schedule.h"
#include "clock/slide_follow.h"
#include "command/message_text.h"

namespace tallyglass {

const char* PhaseName(const CountdownModel& model) {
    if (!model.m_running) return "idle";
    if (model.m_inAlert) return model.m_overtime ? "overtime" : "alert";
    return InWarning(model) ? "warning" : "counting";
}

int32_t MsToNextTick(const CountdownModel& model, uint32_t nowMs) {
    if (model.m_paused) return static_cast<int32_t>(1000 - model.m_spentMs % 1000);
    // Unsigned arithmetic: the host's clock may wrap between the anchor and now.
    const uint32_t next = model.m_anchorMs + (model.m_ticksSinceAnchor + 1) * 1000u;
    const auto left = static_cast<int32_t>(next - nowMs);
    return left < 0 ? 0 : left > 1000 ? 1000 : left;
}

namespace {
void AddSchedule(ClockSnapshot& s, const CountdownModel& model, int64_t unixNowMs, int32_t localSecondOfDay) {
    const ShowPlan plan = PlanShow(model.m_show);
    for (size_t i = 0; i < plan.spans.size(); ++i)
        s.plannedStarts.push_back(FormatTimeOfDay(static_cast<int32_t>(plan.spans[i].start % kSecondsPerDay)));
    if (localSecondOfDay < 0) return;
    const std::optional<ScheduleNow> at = ScheduleAt(model, plan, localSecondOfDay);
    if (!at) return;
    const auto unixMs = [&](int64_t planSecond) { return unixNowMs + (planSecond - at->now) * 1000; };
    s.plannedStartMs = unixMs(at->current.start);
    s.plannedEndMs = unixMs(at->current.end);
    s.offset = at->offset;
    s.showEndsAtMs = unixMs(at->showEnd);
}
}  // namespace

ClockSnapshot SnapshotOf(const CountdownModel& model, int64_t unixNowMs, int32_t msToNextTick, const char* version,
                         int32_t localSecondOfDay) {
    ClockSnapshot s;
    AddSchedule(s, model, unixNowMs, localSecondOfDay);
    if (const std::optional<SlidePlace> place = SlidePlaceOf(model)) {
        s.slide = place->slide;
        s.slideCount = place->count;
        if (model.m_running && !model.m_inAlert) s.pace = place->pace;
    }
    const DisplayChoice shown = SelectDisplay(model);
    s.phase = PhaseName(model);
    s.paused = model.m_paused != 0;
    s.text = shown.text;
    s.color = shown.color;
    s.length = model.m_countdownSeconds;
    s.alertLength = model.m_alertSeconds;
    s.serverTimeMs = unixNowMs;
    s.message = model.m_message;
    s.version = version;
    s.face = model.m_elapsedFace ? "elapsed" : "remaining";
    s.elapsed = model.m_running && !model.m_inAlert ? model.m_elapsed : 0;
    s.segments = model.m_show;
    s.fontName = model.m_fontName;
    s.alertText = model.m_alertText;
    s.warnSeconds = model.m_warnSeconds;
    s.presets = MessagePresets(model.m_messagePresetText);
    s.flash = model.m_flashSteps > 0;
    s.blackout = model.m_blackout != 0;
    if (const ShowSegment* segment = CurrentSegment(model)) {
        const auto current = static_cast<size_t>(segment - model.m_show.data());
        s.segment = segment->name;
        s.segmentNumber = static_cast<int32_t>(current + 1);
        s.segmentCount = static_cast<int32_t>(model.m_show.size());
        if (current + 1 < model.m_show.size()) s.nextSegment = model.m_show[current + 1].name;
    }
    if (!model.m_running) {
        s.remaining = model.m_countdownSeconds;
        return s;
    }
    // Whole seconds from the end of the second now shown to the count's zero; before it in the alert.
    const int64_t secondsToEnd = model.m_inAlert ? -SecondsIntoAlert(model) : model.m_remaining;
    s.remaining = static_cast<int32_t>(model.m_inAlert && !model.m_overtime ? 0 : secondsToEnd);
    if (!model.m_paused) s.endsAtMs = unixNowMs + msToNextTick + (secondsToEnd - 1) * 1000;
    return s;
}

}  // namespace tallyglass
