#include "framework/multimedia_timer_win.h"

#include <utility>

#include "framework/handles_win.h"

TimerPeriod::TimerPeriod(UINT milliseconds) {
    if (milliseconds != 0 && timeBeginPeriod(milliseconds) == TIMERR_NOERROR) {
        m_milliseconds = milliseconds;
        handles::CountAcquired();
    }
}

TimerPeriod::TimerPeriod(TimerPeriod&& other) noexcept : m_milliseconds(std::exchange(other.m_milliseconds, 0)) {}

TimerPeriod& TimerPeriod::operator=(TimerPeriod&& other) noexcept {
    if (this != &other) {
        reset();
        m_milliseconds = std::exchange(other.m_milliseconds, 0);
    }
    return *this;
}

void TimerPeriod::reset() {
    if (m_milliseconds == 0) return;
    timeEndPeriod(m_milliseconds);
    handles::CountReleased();
    m_milliseconds = 0;
}

PeriodicTimer::PeriodicTimer(UINT periodMs, UINT resolutionMs, LPTIMECALLBACK callback, DWORD_PTR user, Kind kind)
    : m_id(
          timeSetEvent(periodMs, resolutionMs, callback, user, kind | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS)) {
    if (m_id) handles::CountAcquired();
}

PeriodicTimer::PeriodicTimer(PeriodicTimer&& other) noexcept : m_id(std::exchange(other.m_id, 0)) {}

PeriodicTimer& PeriodicTimer::operator=(PeriodicTimer&& other) noexcept {
    if (this != &other) {
        reset();
        m_id = std::exchange(other.m_id, 0);
    }
    return *this;
}

void PeriodicTimer::reset() {
    if (m_id == 0) return;
    timeKillEvent(m_id);
    handles::CountReleased();
    m_id = 0;
}
