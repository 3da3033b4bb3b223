#pragma once
// The clock's own keys, while it has the focus: F2 start, F3 pause, F4 reset,
// Up and Down a minute, Right and Left a segment, Delete the message.
#include <cstdint>
#include <optional>

#include "command/clock_command.h"

namespace tallyglass {

// By the key's virtual-key code; nothing for a key the clock does not use.
std::optional<ClockCommand> CommandForKey(uint32_t virtualKey);

}  // namespace tallyglass
