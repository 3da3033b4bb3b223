#pragma once
// The clock's one window: a modal dialog from template 102, layered, topmost,
// off the taskbar. It turns messages into commands and applies what the engine
// says follows them; the engine, the display selection and the settings decide.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "clock/clock_dispatch.h"
#include "clock/countdown_engine.h"
#include "command/clock_command.h"
#include "framework/dialog_win.h"
#include "shell/clock_options_win.h"
#include "shell/clock_parts_win.h"

namespace tallyglass {

class CountdownWnd : public Dialog {
public:
    explicit CountdownWnd(CountdownWndOptions options = {});
    // The window's WM_DESTROY handler stores the settings: it must run while
    // this class still exists.
    ~CountdownWnd() override { Destroy(); }

    BOOL PreTranslateMessage(MSG* msg) override;
    void StartCountdown() { Apply({tallyglass::CommandKind::Start, 0, {}, {}}); }
    void ResetCountdown() { Apply({tallyglass::CommandKind::Reset, 0, {}, {}}); }
    // Every way in ends here, on the window's thread: the command applied with the
    // time read now, and the same follows whatever it came from (the place
    // recorded first when the command lays out there; click-through as the model
    // says; one state published).
    void Apply(const tallyglass::ClockCommand& command) { ApplyAll({command}); }
    // Commands that came together (a batch from the network, a command line):
    // each applied in turn with its timers, then one picture and one state.
    // Whether each order changed anything, in the orders' order.
    std::vector<bool> ApplyAll(const std::vector<tallyglass::ClockCommand>& commands);
    const ClockHotKeys& HotKeys() const { return m_parts.desktop.HotKeys(); }
    // About's lines on the keys, hot keys and command line.
    std::wstring ControlsText() const;

    const CountdownModel& Model() const { return m_model; }
    // Test and benchmark seam: a state set by hand, laid out anew or only drawn
    // (then at the size it holds: take it from Model() after a layout).
    void Show(const CountdownModel& model, bool relayout);
    const CCore* Core() const { return m_parts.store ? &m_parts.store->Core() : nullptr; }
    const LayeredPresenter* Presenter() const { return m_parts.view ? &m_parts.view->Presenter() : nullptr; }
    const std::wstring& AlertWavPath() const { return m_parts.sounds->AlertWavPath(); }
    UINT TimerResolution() { return m_parts.timers.Resolution(); }
    uint32_t Dpi() const { return m_parts.view ? m_parts.view->Dpi() : 96; }
    CaptureExclusion Capture() const { return m_parts.desktop.Capture(); }
    const RemoteLink* Remote() const { return m_parts.remote.get(); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    // Enter and Esc never end the clock; the key filter swallows them anyway.
    void OnOK() override {}
    void OnCancel() override {}

private:
    bool OnClockMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnCommand(UINT id);
    void OnDestroy();
    void OnPaint();
    void OnNewCountdown();
    void OnTickMessage(uint32_t timerId, uint32_t firedAtMs);
    void OnMinuteTimer();
    void OnDpiChanged(UINT dpi, const RECT* suggested);
    void OnFinishStart();
    void OnRemoteOrders();
    void OnBlinkTimer();
    void OnScheduleTimer();
    void OnSlideShow();
    void OnSlideAwayTimer();

    // Once per event: what the engine decided follows it, then one state for every viewer.
    void ApplyEffects(const EngineEffects& effects);
    void ShowEffects(const EngineEffects& effects, bool changed);

    CountdownWndOptions m_options;
    CountdownModel m_model;
    HICON m_icon = nullptr;
    ClockParts m_parts{m_options};  // after the options it reads
};

}  // namespace tallyglass
