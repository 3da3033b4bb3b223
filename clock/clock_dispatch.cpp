#include "clock/clock_dispatch.h"

#include "base/duration_text.h"
#include "clock/message_flash.h"
#include "clock/settings_apply.h"
#include "clock/slide_follow.h"

namespace tallyglass {
namespace {
EngineEffects NewLength(CountdownModel& model, int32_t seconds) {
    CountdownValues values = ValuesOf(model);
    values.m_countdownSeconds = seconds;
    return ApplyNewCountdown(model, values);
}

EngineEffects SetMessage(CountdownModel& model, const std::string& text) {
    EngineEffects fx;
    if (model.m_message == text) return fx;  // Delete without a message changes nothing
    model.m_message = text;
    fx.Ask(EngineEffects::Picture::LayoutInPlace);
    return fx;
}

EngineEffects SetBlackout(CountdownModel& model, bool on) {
    EngineEffects fx;
    fx.viewersSee = model.m_blackout != (on ? 1 : 0);
    model.m_blackout = on ? 1 : 0;
    return fx;
}

// A start, pause or reset of anyone else's makes the count theirs: the show no longer resumes it.
void TakeCountFromSlideShow(CountdownModel& model, CommandKind kind) {
    if (kind == CommandKind::Start || kind == CommandKind::PauseOrResume || kind == CommandKind::Resume ||
        kind == CommandKind::Reset)
        model.m_pausedBySlides = 0;
}
}  // namespace

EngineEffects Dispatch(CountdownModel& model, const ClockCommand& command, const CommandTime& time) {
    TakeCountFromSlideShow(model, command.kind);
    switch (command.kind) {
        case CommandKind::Start:
            return StartCountdown(model, time.nowMs);
        case CommandKind::PauseOrResume:
            return PauseOrResume(model, time.nowMs);
        case CommandKind::Resume:
            return model.m_paused ? PauseOrResume(model, time.nowMs) : EngineEffects{};
        case CommandKind::Reset:
            return ResetOrEndSegment(model, time.nowMs);
        case CommandKind::AddSeconds:
            return AdjustTime(model, command.number);
        case CommandKind::SetLength:
            return NewLength(model, command.number);
        case CommandKind::CountUntil:
            return CountDownFrom(model, SecondsUntil(command.number, time.localSecondOfDay), time.nowMs);
        case CommandKind::NextSegment:
            return MoveSegment(model, command.number);
        case CommandKind::PreviousSegment:
            return MoveSegment(model, -command.number);
        case CommandKind::GoToSegment:
            return GoToSegment(model, command.number);
        case CommandKind::SetMessage:
            return SetMessage(model, command.text);
        case CommandKind::ClearMessage:
            return SetMessage(model, {});
        case CommandKind::ToggleClickThrough:
            model.m_clickThrough = !model.m_clickThrough;
            return {};
        case CommandKind::NewCountdown:
            return ApplyNewCountdown(model, command.values);
        case CommandKind::ApplySettings:
            return ApplySettings(model, command.settings, command.show);
        case CommandKind::FlashMessage:
            return FlashMessage(model);
        case CommandKind::BlackoutOn:
        case CommandKind::BlackoutOff:
            return SetBlackout(model, command.kind == CommandKind::BlackoutOn);
        case CommandKind::SlideShowSeen:
            return command.slideShow ? TakeSlideShowSeen(model, *command.slideShow) : EngineEffects{};
        case CommandKind::SlideShowPause:
            return PauseForSlideShow(model, time.nowMs);
        case CommandKind::SlideShowResume:
            return ResumeForSlideShow(model, time.nowMs);
    }
    return {};
}

}  // namespace tallyglass
