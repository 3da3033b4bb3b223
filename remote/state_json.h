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
// changed: as the answer to an order, whether the order changed anything.
std::string StateJson(const ClockSnapshot& snapshot, bool control, std::optional<bool> changed = std::nullopt);
// orderId: the id an order over the WebSocket carried, 0 for none.
std::string ErrorJson(std::string_view error, std::string_view word = {}, uint64_t orderId = 0);
// {"answer":7,"changed":false}: what the order that carried "id":7 did.
std::string AnswerJson(uint64_t orderId, bool changed);
// {"alive":true,"serverTime":...}: the clock is there, even when nothing changes.
std::string KeepAliveJson(std::optional<int64_t> unixNowMs);

// The id an order may carry to be answered: a whole number from 1 to 2^53 (what a
// page's number holds exactly).
constexpr uint64_t kMaxOrderId = uint64_t{1} << 53;

// {"order":"add","seconds":60}, {"order":"set","length":"5m"}, {"order":"until","time":"14:30"},
// {"order":"message","text":"..."}, {"order":"message/clear"}, {"order":"start"}, ...; with
// "id":7 the order's id goes to orderId (0 without a usable one).
tallyglass::CommandCheck ParseOrderJson(std::string_view text, uint64_t* orderId = nullptr);

}  // namespace tallyglass
