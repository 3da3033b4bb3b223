#include "clock/schedule.h"

#include "base/duration_text.h"

namespace tallyglass {

namespace {
constexpr int64_t kHalfDay = kSecondsPerDay / 2;

// The time of day moved by whole days to lie within half a day of near.
int64_t NearestDay(int64_t secondOfDay, int64_t near) {
    int64_t t = secondOfDay + (near / kSecondsPerDay) * kSecondsPerDay;
    while (t - near > kHalfDay) t -= kSecondsPerDay;
    while (near - t >= kHalfDay) t += kSecondsPerDay;
    return t;
}

std::string PlanTime(int64_t planSecond) { return FormatTimeOfDay(static_cast<int32_t>(planSecond % kSecondsPerDay)); }
}  // namespace

ShowPlan PlanShow(const std::vector<ShowSegment>& show) {
    ShowPlan plan;
    size_t first = 0;
    while (first < show.size() && !show[first].plannedStart) ++first;
    if (first == show.size()) return plan;
    plan.spans.resize(show.size());
    int64_t start = *show[first].plannedStart;
    for (size_t i = first; i < show.size(); ++i) {
        if (i > first && show[i].plannedStart) {
            const int64_t previousEnd = plan.spans[i - 1].end;
            start = NearestDay(*show[i].plannedStart, previousEnd);
            if (start < previousEnd && plan.firstOverlap.empty())
                plan.firstOverlap = show[i].name + " is planned at " + PlanTime(start) + ", before " +
                                    show[i - 1].name + " is planned to end at " + PlanTime(previousEnd);
        }
        plan.spans[i] = {start, start + show[i].seconds};
        start = plan.spans[i].end;
    }
    for (size_t i = first; i-- > 0;)
        plan.spans[i] = {plan.spans[i + 1].start - show[i].seconds, plan.spans[i + 1].start};
    // Before the first midnight, the plan's days are counted from the day it begins.
    const int64_t shift = plan.spans.front().start < 0 ? kSecondsPerDay : 0;
    for (PlannedSpan& span : plan.spans) span = {span.start + shift, span.end + shift};
    return plan;
}

std::optional<ScheduleNow> ScheduleAt(const CountdownModel& model, const ShowPlan& plan, int32_t localSecondOfDay) {
    if (plan.spans.empty() || model.m_segment < 0 || static_cast<size_t>(model.m_segment) >= plan.spans.size())
        return std::nullopt;
    ScheduleNow at;
    at.current = plan.spans[static_cast<size_t>(model.m_segment)];
    at.now = NearestDay(localSecondOfDay, at.current.start);
    const int64_t left = !model.m_running ? model.m_countdownSeconds : model.m_inAlert ? 0 : model.m_remaining;
    const int64_t projectedEnd = at.now + left;
    at.offset = static_cast<int32_t>(projectedEnd - at.current.end);
    at.showEnd = plan.spans.back().end + at.offset;
    return at;
}

namespace {
// Seconds the segment after a running one is past its planned start, when the
// schedule would have started it: the warning that it was left alone.
int32_t NextLateToStart(const CountdownModel& model, const ShowPlan& plan, const std::optional<ScheduleNow>& at) {
    const size_t next = static_cast<size_t>(model.m_segment) + 1;
    if (!at || !model.m_running || model.m_showAutoStart != kAutoStartOnSchedule || next >= plan.spans.size()) return 0;
    const int64_t late = at->now - plan.spans[next].start;
    return late > 0 && late < kSecondsPerDay ? static_cast<int32_t>(late) : 0;
}

// Keeps what the lines under the time say, and asks for a frame when it changed.
void NoteSchedule(CountdownModel& model, const ShowPlan& plan, const std::optional<ScheduleNow>& at,
                  EngineEffects& fx) {
    const std::optional<int32_t> offset = at ? std::optional<int32_t>(at->offset) : std::nullopt;
    const int32_t nextLate = NextLateToStart(model, plan, at);
    if (offset != model.m_scheduleOffset || nextLate != model.m_nextLateToStart) fx.Ask(EngineEffects::Picture::Frame);
    model.m_scheduleOffset = offset;
    model.m_nextLateToStart = nextLate;
}
}  // namespace

EngineEffects OnScheduleSecond(CountdownModel& model, int32_t localSecondOfDay, uint32_t nowMs) {
    EngineEffects fx;
    const ShowPlan plan = PlanShow(model.m_show);
    const std::optional<ScheduleNow> at = ScheduleAt(model, plan, localSecondOfDay);
    NoteSchedule(model, plan, at, fx);
    const int64_t late = at && !model.m_running ? at->now - at->current.start : -1;
    // A timer's second may come a little late: the start is still taken within two.
    if (model.m_showAutoStart == kAutoStartOnSchedule && late >= 0 && late <= 2 &&
        model.m_autoStarted != model.m_segment) {
        model.m_autoStarted = model.m_segment;
        model.m_lateToStart = 0;
        return StartCountdown(model, nowMs);  // its layout draws the notes too
    }
    const int32_t lateToStart = late > 0 ? static_cast<int32_t>(late) : 0;
    if (lateToStart != model.m_lateToStart) fx.Ask(EngineEffects::Picture::LayoutInPlace);
    model.m_lateToStart = lateToStart;
    return fx;
}

std::string OffsetText(int32_t seconds) {
    const char* sign = seconds > 0 ? "+" : seconds < 0 ? "\xE2\x88\x92" : "";  // U+2212 MINUS SIGN
    return sign + SpanText(seconds);
}

}  // namespace tallyglass
