#include "shell/countdown_wnd_win.h"

#include "clock/command_batch.h"
#include "clock/run_log.h"

// Where every way in ends, on the window's thread: the commands applied through the one
// dispatcher, each event's timers at once, then one picture and one state.
namespace tallyglass {

std::vector<bool> CountdownWnd::ApplyAll(const std::vector<ClockCommand>& commands) {
    EngineEffects shown;
    bool changed = false;
    std::vector<bool> changedByOrder;
    for (const BatchStep& step : WithAdditionsSummed(commands)) {
        if (LaysOutWhereTheClockStands(step.command)) RecordPlace(m_hwnd, m_model);
        const EngineEffects effects =
            Dispatch(m_model, step.command, {ClockTimers::NowMs(), ClockTimers::LocalSecondOfDay()});
        m_parts.ApplyTimers(m_hwnd, effects, m_model);
        m_parts.Log(LogEventFor(step.command, m_model, effects.Changed()));
        shown.Join(effects);
        changed = changed || effects.Changed();
        changedByOrder.insert(changedByOrder.end(), step.orders, effects.Changed());
    }
    m_parts.desktop.SetClickThrough(m_hwnd, m_model.m_clickThrough != 0);
    ShowEffects(shown, changed);
    return changedByOrder;
}

void CountdownWnd::ApplyEffects(const EngineEffects& effects) {
    m_parts.ApplyTimers(m_hwnd, effects, m_model);
    ShowEffects(effects, effects.Changed());
}

// After the timers, so that a tick's drawing never delays the next tick.
void CountdownWnd::ShowEffects(const EngineEffects& effects, bool changed) {
    if (effects.redo) m_parts.Redo(m_hwnd, effects.redo, m_model);
    m_parts.view->Show(m_hwnd, m_model, effects.picture);
    if (effects.center) Dialog::CenterWindow(nullptr);
    m_parts.PlaySounds(effects, m_model);
    // One state per event, after everything it changed.
    if (changed) m_parts.Publish(m_model);
}

void CountdownWnd::Show(const CountdownModel& model, bool relayout) {
    m_model = model;
    m_parts.view->Show(m_hwnd, m_model,
                       relayout ? EngineEffects::Picture::LayoutAtPosition : EngineEffects::Picture::Frame);
    m_parts.Publish(m_model);
}

}  // namespace tallyglass
