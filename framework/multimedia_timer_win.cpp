#include "framework/multimedia_timer_win.h"

namespace tallyglass {

TimerPeriod RequestTimerPeriod(UINT milliseconds) {
    return TimerPeriod(milliseconds != 0 && timeBeginPeriod(milliseconds) == TIMERR_NOERROR ? milliseconds : 0);
}

PeriodicTimer StartTimerEvent(UINT delayMs, UINT resolutionMs, LPTIMECALLBACK callback, DWORD_PTR user, UINT kind) {
    return PeriodicTimer(
        timeSetEvent(delayMs, resolutionMs, callback, user, kind | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS));
}

}  // namespace tallyglass
