#include "shell/clock_timers_win.h"

#include <string_view>

#include "clock/timer_resolution.h"

namespace tallyglass {

void ClockTimers::RequestPeriod() {
    if (m_periodRequested) return;
    m_periodRequested = true;
    TIMECAPS caps{};
    const bool read = timeGetDevCaps(&caps, sizeof caps) == TIMERR_NOERROR;
    const auto resolution = ChooseTimerResolution(read, caps.wPeriodMin, caps.wPeriodMax);
    if (!resolution) return;
    m_resolution = *resolution;
    m_period = RequestTimerPeriod(m_resolution);
}

void CALLBACK ClockTimers::Post(UINT id, UINT, DWORD_PTR target, DWORD_PTR, DWORD_PTR) {
    // The timer thread only posts: every tick is handled whole on the UI thread.
    PostMessageW(reinterpret_cast<HWND>(target), kTickMessage, id, static_cast<LPARAM>(NowMs()));
}

uint32_t ClockTimers::StartPeriodic(HWND target) {
    if (m_manual) return ++m_manualIds;
    RequestPeriod();
    m_timer =
        StartTimerEvent(1000, m_resolution, &ClockTimers::Post, reinterpret_cast<DWORD_PTR>(target), TIME_PERIODIC);
    return m_timer.get();
}

uint32_t ClockTimers::StartOneShot(HWND target, uint32_t delayMs) {
    if (m_manual) return ++m_manualIds;
    RequestPeriod();
    m_timer =
        StartTimerEvent(delayMs, m_resolution, &ClockTimers::Post, reinterpret_cast<DWORD_PTR>(target), TIME_ONESHOT);
    return m_timer.get();
}

void ClockTimers::Stop(uint32_t timerId) {
    if (timerId == m_timer.get()) m_timer.reset();
}

void ClockTimers::Release() {
    m_timer.reset();
    m_period.reset();
    m_periodRequested = false;
}

// The performance counter, not timeGetTime: under Wine the latter moves in steps
// of about 16 ms, and a pause read that late each time loses a second in 100.
uint32_t ClockTimers::NowMs() {
    LARGE_INTEGER frequency{}, now{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<uint32_t>(now.QuadPart * 1000 / frequency.QuadPart);
}

int32_t ClockTimers::LocalSecondOfDay() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return now.wHour * 3600 + now.wMinute * 60 + now.wSecond;
}

bool ClockTimers::Uses12HourClock() {
    wchar_t format[80] = L"";
    if (!GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STIMEFORMAT, format, 80)) return false;
    // "h" is the 12-hour field, "H" the 24-hour one.
    return std::wstring_view(format).find(L'h') != std::wstring_view::npos;
}

}  // namespace tallyglass
