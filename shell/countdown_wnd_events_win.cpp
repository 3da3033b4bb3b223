#include "shell/countdown_wnd_win.h"

#include "clock/message_flash.h"
#include "clock/run_log.h"
#include "clock/schedule.h"
#include "clock/slide_follow.h"

// What the window's own timers and watchers bring: the count's ticks, the minute's turn,
// the message's blink, the schedule's second and the slide show.
namespace tallyglass {

// Only the blink's start and end reach the viewers; its halves are the clock's alone.
void CountdownWnd::OnBlinkTimer() {
    const EngineEffects effects = StepBlink(m_model);
    m_parts.ApplyTimers(m_hwnd, effects, m_model);
    ShowEffects(effects, effects.viewersSee);
}

void CountdownWnd::OnTickMessage(uint32_t timerId, uint32_t firedAtMs) {
    if (!IsLiveTick(m_model, timerId)) return;
    const std::string phase = PhaseName(m_model), segment = LoggedSegment(m_model);
    ApplyEffects(OnTimerTick(m_model, firedAtMs));
    for (const RunLogEvent& ended : PhaseEnds(phase, segment, m_model)) m_parts.Log(ended);
}

// Each second while the show has a plan; a segment it starts is the clock's own start.
void CountdownWnd::OnScheduleTimer() {
    const bool idle = !m_model.m_running;
    ApplyEffects(OnScheduleSecond(m_model, ClockTimers::LocalSecondOfDay(), ClockTimers::NowMs()));
    ClockCommand start;
    start.kind = CommandKind::Start;  // the clock's own: WayIn::Clock
    if (idle && m_model.m_running) m_parts.Log(LogEventFor(start, m_model, true));
}

void CountdownWnd::OnMinuteTimer() {
    m_parts.FollowTimeOfDay(m_hwnd, m_model);
    if (m_model.m_running) return;
    m_parts.view->Show(m_hwnd, m_model, EngineEffects::Picture::LayoutInPlace);
    m_parts.Publish(m_model);
}

// The latest sight of the slide show, as the commands it makes; the clock's own moves
// are logged with the slide show as their way in.
void CountdownWnd::OnSlideShow() {
    if (!m_parts.slides) return;
    if (const std::optional<SlideShowSeen> seen = m_parts.slides->Take()) ApplyAll(SlideShowCommands(m_model, *seen));
}

void CountdownWnd::OnSlideAwayTimer() {
    m_parts.slideAwayTimer.reset();  // once
    if (const std::optional<ClockCommand> pause = SlideShowAwayTooLong(m_model)) Apply(*pause);
}

}  // namespace tallyglass
