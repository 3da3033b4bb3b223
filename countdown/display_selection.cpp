#include "countdown/display_selection.h"

#include "render/display_text.h"

DisplayChoice SelectDisplay(const CountdownModel& model) {
    if (model.m_running == 0 && !model.m_titleText.empty())
        return {model.m_titleText, model.m_sizeTitle, model.m_colorAlert};
    std::string timeText = FormatTimeText(model.m_remaining, model.m_inAlert != 0, model.m_alertText);
    if (model.m_inAlert) return {std::move(timeText), model.m_sizeAlert, model.m_colorAlert};
    return {std::move(timeText), model.m_sizeNormal, model.m_colorNormal};
}
