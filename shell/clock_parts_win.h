#pragma once
// What the clock's window works with, made as the window opens and released
// in the order the window closes: the settings file, the picture, the timers,
// the sounds, the desktop's parts and remote control.
#include <windows.h>

#include <memory>
#include <optional>

#include "clock/countdown_engine.h"
#include "framework/handles_win.h"
#include "shell/clock_desktop_win.h"
#include "shell/clock_options_win.h"
#include "shell/clock_sounds_win.h"
#include "shell/clock_store_win.h"
#include "shell/clock_timers_win.h"
#include "shell/clock_view_win.h"
#include "shell/remote_link_win.h"
#include "shell/run_log_file_win.h"
#include "shell/slide_show_link_win.h"

namespace tallyglass {

struct ClockParts {
    explicit ClockParts(const CountdownWndOptions& made) : options(made), timers(made.manualTicks) {}

    // WM_CREATE: false when the system cannot show layered windows.
    bool Create();
    // WM_INITDIALOG: the settings read into the model, the window styled and laid
    // out, and its first frame presented.
    void Open(HWND window, CountdownModel& model);
    // Once the window shows: what the first frame need not wait for.
    void FinishStart(HWND window, const CountdownModel& model);
    // Before the window goes: nothing more comes in from the network or the desktop.
    void StopInput();
    // After it: the timers stop; ticks still queued are stale from here on.
    void StopTimers(CountdownModel& model);
    // An event's timers, before its picture so that a tick's drawing never delays the next tick.
    void ApplyTimers(HWND window, const EngineEffects& effects, CountdownModel& model);
    void PlaySounds(const EngineEffects& effects, const CountdownModel& model) const;
    // New settings: what they ask to set up again (EngineEffects::Redo bits).
    void Redo(HWND window, uint32_t redo, CountdownModel& model);
    // The state now, for every viewer and the answer to an order.
    SnapshotPtr Snapshot(const CountdownModel& model) const;
    void Publish(const CountdownModel& model);
    // About, over the window: the keys, hot keys, capture hiding, the show and remote control.
    void ShowAbout(HWND window, const CountdownModel& model);
    // The writable settings, the place as the window stands when it is worth keeping.
    void StoreSettings(HWND window, CountdownModel& model);
    void NoteStep(const char* step) const {
        if (options.startStep) options.startStep(step);
    }

    const CountdownWndOptions& options;
    std::optional<ClockView> view;
    std::unique_ptr<ClockStore> store;
    std::optional<ClockSounds> sounds;
    ClockTimers timers;
    WindowTimer blinkTimer;     // while the message blinks
    WindowTimer scheduleTimer;  // while the show has planned starts
    // Each second while the show has a plan: its state against the wall clock.
    void WatchSchedule(HWND window, const CountdownModel& model);
    // The idle clock's time of day: the minute now, written as Windows writes times, and
    // the timer for the next minute's turn.
    void FollowTimeOfDay(HWND window, CountdownModel& model);
    ClockDesktop desktop;
    std::unique_ptr<RemoteLink> remote;  // none while remote control is off
    std::optional<RunLogFile> runLog;    // once the settings file's place is known
    // With slideshow= on: the slide show's watcher, and the timer while its show is left.
    std::unique_ptr<SlideShowLink> slides;
    WindowTimer slideAwayTimer;
    void WatchSlides(HWND window, const CountdownModel& model);
    void Log(const std::optional<RunLogEvent>& event) const {
        if (event && runLog) runLog->Write(*event);
    }
};

}  // namespace tallyglass
