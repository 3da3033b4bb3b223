#include "clock/message_flash.h"

namespace tallyglass {

EngineEffects FlashMessage(CountdownModel& model) {
    EngineEffects fx;
    if (model.m_message.empty()) return fx;
    if (model.m_flashSteps == 0) fx.blink = EngineEffects::Blink::Arm;
    model.m_flashSteps = kBlinkSteps;
    fx.viewersSee = true;
    return fx;
}

EngineEffects StepBlink(CountdownModel& model) {
    EngineEffects fx;
    if (model.m_flashSteps <= 0) {
        fx.blink = EngineEffects::Blink::Stop;  // a step of a timer that outlived its blink
        return fx;
    }
    --model.m_flashSteps;
    const int32_t hidden = model.m_flashSteps % 2;  // odd steps are the dark halves; the last, 0, is lit
    if (hidden != model.m_messageHidden && !model.m_message.empty()) fx.Ask(EngineEffects::Picture::Frame);
    model.m_messageHidden = hidden;
    if (model.m_flashSteps == 0) {
        fx.blink = EngineEffects::Blink::Stop;
        fx.viewersSee = true;
    }
    return fx;
}

}  // namespace tallyglass
