#include "countdown/display_selection.h"

#include "render/display_text.h"

int64_t SecondsIntoAlert(const CountdownModel& model) {
    return model.m_overtime ? -int64_t{model.m_remaining} : int64_t{model.m_alertSeconds} - model.m_remaining;
}

bool InWarning(const CountdownModel& model) {
    return model.m_running && !model.m_inAlert && model.m_warnSeconds > 0 && model.m_remaining <= model.m_warnSeconds;
}

namespace {
uint32_t AlertColor(const CountdownModel& model) {
    const bool dimmed = model.m_alertFlash && SecondsIntoAlert(model) % 2 != 0;
    if (!dimmed) return model.m_colorAlert;
    return (model.m_colorAlert >> 24) / 4 << 24 | (model.m_colorAlert & 0x00FFFFFFu);
}

// A paused clock shows it at a glance: its text at half its opacity.
uint32_t HalfOpacity(uint32_t color) { return (color >> 24) / 2 << 24 | (color & 0x00FFFFFFu); }

DisplayChoice Choose(const CountdownModel& model) {
    if (model.m_running == 0 && !model.m_titleText.empty())
        return {model.m_titleText, model.m_sizeTitle, model.m_colorAlert};
    if (model.m_inAlert && model.m_overtime) {
        const int32_t over = model.m_remaining == INT32_MIN ? INT32_MAX : -model.m_remaining;
        return {FormatOvertimeText(over, model.m_alertText), model.m_sizeAlert, AlertColor(model)};
    }
    std::string timeText = FormatTimeText(model.m_remaining, model.m_inAlert != 0, model.m_alertText);
    if (model.m_inAlert) return {std::move(timeText), model.m_sizeAlert, AlertColor(model)};
    return {std::move(timeText), model.m_sizeNormal, InWarning(model) ? model.m_colorWarn : model.m_colorNormal};
}
}  // namespace

DisplayChoice SelectDisplay(const CountdownModel& model) {
    DisplayChoice choice = Choose(model);
    if (model.m_paused) choice.color = HalfOpacity(choice.color);
    return choice;
}
