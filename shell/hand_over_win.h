#pragma once
// A second start hands its orders to the clock that already runs: a window of
// the clock's title that answers the ping with the clock's answer receives the
// words in a WM_COPYDATA marked with the clock's magic.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "command/clock_command.h"

namespace tallyglass {

constexpr ULONG_PTR kHandOverMagic = 0x54474331;  // "TGC1"
constexpr LRESULT kPingAnswer = 0x7A11C10C;

// The registered message a clock answers with kPingAnswer.
UINT ClockPingMessage();

// The running clock's window on this desktop, or null.
HWND FindRunningClock(HWND except = nullptr);

// True when the clock took the words (UTF-8) and applied them.
bool HandOverWords(HWND clock, HWND from, const std::vector<std::string>& words);

// The words of a WM_COPYDATA that carries the magic; nothing for any other.
std::optional<std::vector<std::string>> HandedOverWords(const COPYDATASTRUCT& data);
// The commands a second start handed over, with --show's file read; nothing when they
// are not a clock's, or cannot be used.
std::optional<std::vector<ClockCommand>> HandedOverCommands(const COPYDATASTRUCT* data);

}  // namespace tallyglass
