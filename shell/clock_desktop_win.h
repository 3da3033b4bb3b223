#pragma once
// How the clock sits on the desktop: its hot keys, staying on top of a slide
// show, clicks passing through, and hiding from screen capture.
#include <windows.h>

#include <optional>

#include "shell/capture_exclusion_win.h"
#include "shell/clock_hot_keys_win.h"
#include "shell/topmost_keeper_win.h"

namespace tallyglass {

class ClockDesktop {
public:
    // With the first frame: what changes how the window looks or whether it can be captured.
    void ApplyAtStart(HWND window, const CountdownModel& model, const CaptureSystem& capture);
    // Once the window shows: what only acts later (hot keys, the foreground hook).
    void FinishStart(HWND window, const CountdownModel& model);
    void SetClickThrough(HWND window, bool on);
    // New settings: the hot keys registered again as the model names them now.
    void RegisterHotKeysAgain(HWND window, const CountdownModel& model) { m_hotKeys.Register(window, model); }
    // New settings: click-through and capture hiding as the model says now.
    void ApplyWindowSettings(HWND window, const CountdownModel& model, const CaptureSystem& capture);
    // Each window of another program that comes to the front, once the hook is set.
    void SetForegroundListener(std::function<void(HWND)> listener) {
        if (m_topmost) m_topmost->SetForegroundListener(std::move(listener));
    }
    // The keeper's fallback check; false for a timer that is not its own.
    bool OnTimer(UINT_PTR id);
    void Release();

    const ClockHotKeys& HotKeys() const { return m_hotKeys; }
    CaptureExclusion Capture() const { return m_capture; }

private:
    ClockHotKeys m_hotKeys;
    std::optional<TopmostKeeper> m_topmost;
    CaptureExclusion m_capture = CaptureExclusion::NotAsked;
    bool m_clickThrough = false;
};

}  // namespace tallyglass
