#include "shell/clock_frame_win.h"

#include "clock/display_selection.h"
#include "framework/text_win.h"
#include "render/placement.h"

namespace tallyglass {

FrameContent ClockFrame(const CountdownModel& model, uint32_t dpi, PixelSize cap) {
    const DisplayChoice choice = SelectDisplay(model);
    FrameContent content;
    content.text = Widen(choice.text);
    content.fontName = Widen(model.m_fontName);
    content.fontSize = EffectiveFontSize(ScaleForDpi(choice.size, dpi), cap);
    content.color = choice.color;
    content.margin = MarginForSize(content.fontSize);
    content.size = {model.m_width, model.m_height};
    content.background = model.m_noBackground == 0;
    content.outlineWidth = 2.0f * static_cast<float>(dpi) / 96.0f;  // 2 px at 96 DPI
    content.messageSize = MessageSizeFor(content.fontSize);
    content.textX = model.m_textX;
    return content;
}

}  // namespace tallyglass
