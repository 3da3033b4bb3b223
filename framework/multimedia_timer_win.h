#pragma once
// The multimedia timer's paired calls, each owned by a UniqueHandle.
#include <windows.h>
#include <mmsystem.h>

#include "framework/handles_win.h"

namespace tallyglass {

struct EndPeriodTraits {
    static void Release(UINT milliseconds) { timeEndPeriod(milliseconds); }
};
// timeBeginPeriod / timeEndPeriod, holding the period. Holds nothing when the request failed.
using TimerPeriod = UniqueHandle<UINT, EndPeriodTraits>;
TimerPeriod RequestTimerPeriod(UINT milliseconds);

struct KillEventTraits {
    static void Release(UINT id) { timeKillEvent(id); }
};
// timeSetEvent / timeKillEvent, holding the timer's id (never 0 for a timer that runs).
using PeriodicTimer = UniqueHandle<UINT, KillEventTraits>;
// The kill is synchronous: once it returns, no callback of this timer runs any
// more. A one-shot timer that has fired is still killed by its owner, before any
// new timer is made, so that its id cannot name another timer by then.
// kind: TIME_PERIODIC or TIME_ONESHOT.
PeriodicTimer StartTimerEvent(UINT delayMs, UINT resolutionMs, LPTIMECALLBACK callback, DWORD_PTR user, UINT kind);

}  // namespace tallyglass
