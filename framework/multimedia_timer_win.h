#pragma once
// The multimedia timer's paired calls, each owned by one move-only type.
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>

// timeBeginPeriod / timeEndPeriod. Holds nothing when the request failed.
class TimerPeriod {
public:
    TimerPeriod() = default;
    explicit TimerPeriod(UINT milliseconds);
    TimerPeriod(TimerPeriod&& other) noexcept;
    TimerPeriod& operator=(TimerPeriod&& other) noexcept;
    TimerPeriod(const TimerPeriod&) = delete;
    TimerPeriod& operator=(const TimerPeriod&) = delete;
    ~TimerPeriod() { reset(); }

    bool Requested() const { return m_milliseconds != 0; }
    void reset();

private:
    UINT m_milliseconds = 0;
};

// timeSetEvent / timeKillEvent. The kill is synchronous: once it returns, no
// callback of this timer runs any more. A one-shot timer that has fired is
// still killed by its owner, before any new timer is made, so that its id
// cannot name another timer by then.
class PeriodicTimer {
public:
    enum Kind : UINT { Periodic = TIME_PERIODIC, OneShot = TIME_ONESHOT };
    PeriodicTimer() = default;
    PeriodicTimer(UINT periodMs, UINT resolutionMs, LPTIMECALLBACK callback, DWORD_PTR user, Kind kind = Periodic);
    PeriodicTimer(PeriodicTimer&& other) noexcept;
    PeriodicTimer& operator=(PeriodicTimer&& other) noexcept;
    PeriodicTimer(const PeriodicTimer&) = delete;
    PeriodicTimer& operator=(const PeriodicTimer&) = delete;
    ~PeriodicTimer() { reset(); }

    // 0 when no timer runs (the multimedia timer never hands out 0).
    uint32_t Id() const { return m_id; }
    void reset();

private:
    UINT m_id = 0;
};
