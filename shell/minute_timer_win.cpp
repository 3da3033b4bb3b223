#include "shell/minute_timer_win.h"

#include <cstdint>

#include "shell/window_messages_win.h"

namespace tallyglass {

void ArmMinuteTimer(HWND window, int32_t localSecondOfDay) {
    const int32_t msIntoMinute = localSecondOfDay % 60 * 1000;
    // A little after the turn, so that the system's clock has turned when it fires.
    SetTimer(window, kMinuteTimerId, static_cast<UINT>(60000 - msIntoMinute + 50), nullptr);
}

}  // namespace tallyglass
