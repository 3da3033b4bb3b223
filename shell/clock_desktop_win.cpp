#include "shell/clock_desktop_win.h"

#include "framework/window_style_win.h"

namespace tallyglass {

void ClockDesktop::ApplyAtStart(HWND window, const CountdownModel& model, const CaptureSystem& capture) {
    if (model.m_clickThrough) SetClickThrough(window, true);
    if (model.m_hideFromCapture) m_capture = ExcludeFromCapture(window, capture);
}

void ClockDesktop::FinishStart(HWND window, const CountdownModel& model) {
    m_hotKeys.Register(window, model);
    m_topmost.emplace(window);
}

void ClockDesktop::ApplyWindowSettings(HWND window, const CountdownModel& model, const CaptureSystem& capture) {
    SetClickThrough(window, model.m_clickThrough != 0);
    const bool hidden = m_capture == CaptureExclusion::Excluded;
    if (model.m_hideFromCapture && !hidden) m_capture = ExcludeFromCapture(window, capture);
    if (!model.m_hideFromCapture && m_capture != CaptureExclusion::NotAsked)
        m_capture = IncludeInCapture(window, capture);
}

void ClockDesktop::SetClickThrough(HWND window, bool on) {
    if (on == m_clickThrough) return;
    m_clickThrough = on;
    tallyglass::SetClickThrough(window, on);
}

bool ClockDesktop::OnTimer(UINT_PTR id) {
    if (id != TopmostKeeper::kCheckTimerId || !m_topmost) return false;
    m_topmost->OnCheckTimer();
    return true;
}

void ClockDesktop::Release() {
    m_hotKeys.Release();
    m_topmost.reset();
}

}  // namespace tallyglass
