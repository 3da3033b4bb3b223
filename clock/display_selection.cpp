#include "clock/display_selection.h"

#include <algorithm>

#include "clock/display_text.h"
#include "clock/schedule.h"

namespace tallyglass {

int64_t SecondsIntoAlert(const CountdownModel& model) {
    return model.m_overtime ? -int64_t{model.m_remaining} : int64_t{model.m_alertSeconds} - model.m_remaining;
}

bool InWarning(const CountdownModel& model) {
    return model.m_running && !model.m_inAlert && model.m_warnSeconds > 0 && model.m_remaining <= model.m_warnSeconds;
}

namespace {
uint32_t QuarterOpacity(uint32_t color) { return (color >> 24) / 4 << 24 | (color & 0x00FFFFFFu); }

uint32_t AlertColor(const CountdownModel& model) {
    const bool dimmed = model.m_alertFlash && SecondsIntoAlert(model) % 2 != 0;
    return dimmed ? QuarterOpacity(model.m_colorAlert) : model.m_colorAlert;
}

// A paused clock shows it at a glance: its text at half its opacity.
uint32_t HalfOpacity(uint32_t color) { return (color >> 24) / 2 << 24 | (color & 0x00FFFFFFu); }

// The idle title: the title key, else the show's segment name.
const std::string& IdleTitle(const CountdownModel& model) {
    const ShowSegment* segment = CurrentSegment(model);
    return model.m_titleText.empty() && segment ? segment->name : model.m_titleText;
}

DisplayChoice Choose(const CountdownModel& model) {
    if (model.m_running == 0) {
        const std::string& title = IdleTitle(model);
        // A segment past its planned start says so, in the warning's colour: "Keynote +1:30".
        if (!title.empty() && model.m_lateToStart > 0 && &title != &model.m_titleText)
            return {title + " " + OffsetText(model.m_lateToStart), model.m_sizeTitle, model.m_colorWarn};
        if (!title.empty()) return {title, model.m_sizeTitle, model.m_colorAlert};
        if (model.m_idleClock && model.m_localMinute >= 0)
            return {FormatTimeOfDay(model.m_localMinute, model.m_clock12Hour != 0), model.m_sizeNormal,
                    model.m_colorNormal};
    }
    const bool overText = model.m_inAlert && (model.m_overtime || model.m_elapsedFace);
    if (overText)
        return {FormatOvertimeText(SecondsOver(model), model.m_alertText), model.m_sizeAlert, AlertColor(model)};
    const int32_t shown = model.m_elapsedFace && model.m_running ? model.m_elapsed : model.m_remaining;
    std::string timeText = FormatTimeText(shown, model.m_inAlert != 0, model.m_alertText);
    if (model.m_inAlert) return {std::move(timeText), model.m_sizeAlert, AlertColor(model)};
    return {std::move(timeText), model.m_sizeNormal, InWarning(model) ? model.m_colorWarn : model.m_colorNormal};
}
}  // namespace

const ShowSegment* CurrentSegment(const CountdownModel& model) {
    if (model.m_show.empty()) return nullptr;
    return &model.m_show[static_cast<size_t>(model.m_segment) % model.m_show.size()];
}

int32_t SecondsOver(const CountdownModel& model) {
    return static_cast<int32_t>(std::clamp<int64_t>(SecondsIntoAlert(model), 0, INT32_MAX));
}

DisplayChoice SelectDisplay(const CountdownModel& model) {
    DisplayChoice choice = Choose(model);
    // A cue's second and a paused clock both show at a glance, by the text's opacity.
    if (model.m_cueFlash && !model.m_paused) choice.color = QuarterOpacity(choice.color);
    if (model.m_paused) choice.color = HalfOpacity(choice.color);
    return choice;
}

}  // namespace tallyglass
