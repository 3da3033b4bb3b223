#pragma once
// The clock's one window: a modal dialog from template 102, layered, topmost,
// off the taskbar. It translates messages into engine calls and draws what the
// display selection chooses; the engine and the settings table decide.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "command/clock_command.h"
#include "core/core_win.h"
#include "countdown/capture_exclusion_win.h"
#include "countdown/clock_dispatch.h"
#include "countdown/clock_hot_keys_win.h"
#include "countdown/clock_timers_win.h"
#include "countdown/clock_view_win.h"
#include "countdown/countdown_engine.h"
#include "countdown/remote_link_win.h"
#include "countdown/topmost_keeper_win.h"
#include "framework/dialog_win.h"
#include "framework/multimedia_timer_win.h"
#include "render/layered_window_win.h"

struct CountdownWndOptions {
    std::wstring storePath;  // empty: the usual place
    std::wstring appPath;    // empty: the exe's folder
    // Tests tick by hand: no multimedia timer is armed and ids are counted up.
    bool manualTicks = false;
    const wchar_t* user32Name = L"User32.DLL";
    // Test seam: sees every frame's pixels before they go to the screen.
    LayeredPresenter::Observer frameObserver;
    // Applied once the clock is laid out, as if typed (from the command line).
    std::vector<tallyglass::ClockCommand> startCommands;
    // What to do when the layered-window entry point is missing. The default
    // shows "User32.dll ERROR!" and exits with a failure status.
    std::function<void()> fatalError;
    // Test seams: a DPI instead of the monitor's (0: ask the system), and the
    // system's screen-capture calls.
    uint32_t dpiOverride = 0;
    std::optional<CaptureSystem> captureSystem;
    // Test seam: takes the sound commands instead of the system.
    std::function<void(const std::string& command)> soundObserver;
    // Bench seam: told as each step of the start-up ends (see app/start_steps_win.h).
    std::function<void(const char* step)> startStep;
};

// Posted to itself at the end of WM_INITDIALOG: the start-up's rest, once the window shows.
constexpr UINT kFinishStartMessage = WM_APP + 2;
// The idle clock's timer, set for each minute's turn.
constexpr UINT_PTR kMinuteTimerId = 7;

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
    void Apply(const tallyglass::ClockCommand& command);
    const ClockHotKeys& HotKeys() const { return m_hotKeys; }
    // About's lines on the keys, hot keys and command line.
    std::wstring ControlsText() const;

    const CountdownModel& Model() const { return m_model; }
    // Test and benchmark seam: a state set by hand, laid out anew or only drawn
    // (then at the size it holds: take it from Model() after a layout).
    void Show(const CountdownModel& model, bool relayout);
    const CCore* Core() const { return m_core.get(); }
    const LayeredPresenter* Presenter() const { return m_view ? &m_view->Presenter() : nullptr; }
    const std::wstring& AlertWavPath() const { return m_alertWavPath; }
    UINT TimerResolution() const { return m_timers.Resolution(); }
    uint32_t Dpi() const { return m_view ? m_view->Dpi() : 96; }
    CaptureExclusion Capture() const { return m_capture; }
    const RemoteLink* Remote() const { return m_remote.get(); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    // Enter and Esc never end the clock; the key filter swallows them anyway.
    void OnOK() override {}
    void OnCancel() override {}

private:
    bool OnClockMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnCommand(UINT id);
    int OnCreate();
    void OnDestroy();
    void OnPaint();
    void OnGetMinMaxInfo(MINMAXINFO* info);
    void OnLButtonDown();
    void OnRButtonUp();
    void OnNewCountdown();
    void OnAbout();
    void OnTickMessage(uint32_t timerId, uint32_t firedAtMs);
    void ArmMinuteTimer();
    void OnMinuteTimer();
    void OnHotKey(WPARAM id);
    bool OnCopyData(const COPYDATASTRUCT* data);
    void OnDpiChanged(UINT dpi, const RECT* suggested);

    void OnFinishStart();
    void StartRemote();
    void OnRemoteOrders();
    SnapshotPtr Snapshot() const;
    void PublishState();
    void ApplyWindowSettings();
    void NoteStartStep(const char* step) const {
        if (m_options.startStep) m_options.startStep(step);
    }
    void RecordPosition();
    void StoreSettings();

    // Once per event: what the engine decided follows it, then one state for every viewer.
    void ApplyEffects(const EngineEffects& effects);
    void ApplyTimerEffects(const EngineEffects& effects);
    void Relayout();
    void RelayoutInPlace();
    void PresentFrame();
    void CenterWindow() { Dialog::CenterWindow(nullptr); }
    void PlayAlertSound();
    void PlayCueSound();

    struct FreeDeleter {
        void operator()(void* p) const { std::free(p); }
    };

    CountdownWndOptions m_options;
    CountdownModel m_model;
    std::optional<ClockView> m_view;
    std::unique_ptr<CCore> m_core;
    std::unique_ptr<tagSoft, FreeDeleter> m_soft;
    std::wstring m_appPath;
    std::wstring m_alertWavPath;
    HICON m_icon = nullptr;
    ClockTimers m_timers;
    ClockHotKeys m_hotKeys;
    bool m_settingsStored = false;
    std::optional<TopmostKeeper> m_topmost;
    CaptureExclusion m_capture = CaptureExclusion::NotAsked;
    std::unique_ptr<RemoteLink> m_remote;  // none while remote control is off
};
