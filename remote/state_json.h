#pragma once
// The clock's state as the network sees it, and the JSON that carries it and
// the orders that come back over a WebSocket.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "clock/clock_snapshot.h"
#include "command/clock_command.h"

namespace tallyglass {

// control: whether the key that reads it may also order, so that a page knows to show its controls.
std::string StateJson(const ClockSnapshot& snapshot, bool control);
std::string ErrorJson(std::string_view error, std::string_view word = {});

// {"order":"add","seconds":60}, {"order":"set","length":"5m"}, {"order":"until","time":"14:30"},
// {"order":"message","text":"..."}, {"order":"message/clear"}, {"order":"start"}, ...
tallyglass::CommandCheck ParseOrderJson(std::string_view text);

}  // namespace tallyglass
