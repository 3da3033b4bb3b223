#pragma once
// The clock's timing: the timer period, the one-second timer (or the one-shot
// for the rest of a resumed second) posting its ticks to the window, and the
// clock readings the engine is handed.
#include <windows.h>

#include <cstdint>

#include "framework/multimedia_timer_win.h"
#include "shell/window_messages_win.h"

namespace tallyglass {

class ClockTimers {
public:
    // Manual: no multimedia timer is armed and ids are counted up (tests tick by hand).
    explicit ClockTimers(bool manual) : m_manual(manual) {}

    // The resolution timers are armed with; asking for it raises the period.
    UINT Resolution() {
        RequestPeriod();
        return m_resolution;
    }

    uint32_t StartPeriodic(HWND target);
    uint32_t StartOneShot(HWND target, uint32_t delayMs);
    void Stop(uint32_t timerId);
    // Stops the timer and lowers the period again.
    void Release();

    // Milliseconds from the performance counter, for the part of a second spent.
    static uint32_t NowMs();
    static int32_t LocalSecondOfDay();
    // Whether the user's Windows writes times of day in 12 hours (2:05 PM).
    static bool Uses12HourClock();

private:
    // Chooses the resolution from the device's capabilities and raises the period,
    // once, when a timer first needs it: an idle clock leaves the system's period
    // (and the power it saves) alone and does not even load the multimedia library.
    void RequestPeriod();
    static void CALLBACK Post(UINT id, UINT, DWORD_PTR target, DWORD_PTR, DWORD_PTR);

    bool m_manual;
    bool m_periodRequested = false;
    UINT m_resolution = 0;
    TimerPeriod m_period;
    PeriodicTimer m_timer;  // the periodic timer, or the one-shot for the rest of a resumed second
    uint32_t m_manualIds = 0;
};

}  // namespace tallyglass
