#pragma once
// The idle clock's timer: it fires as each minute turns on the system's clock.
#include <windows.h>

#include <cstdint>

namespace tallyglass {

// Sets kMinuteTimerId on the window for the next minute's turn; set it again as it fires.
void ArmMinuteTimer(HWND window, int32_t localSecondOfDay);

}  // namespace tallyglass
