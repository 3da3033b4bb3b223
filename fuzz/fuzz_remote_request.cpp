// Any request line and any WebSocket text: an answer the server can send, and an
// order whose message is clean (valid UTF-8, no control character, within its caps).
#include <cstdint>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "command/message_text.h"
#include "remote/access_keys.h"
#include "remote/http_route.h"
#include "remote/state_json.h"

using namespace tallyglass;

namespace {
// A clean message is its own cleaning (valid UTF-8, nothing to drop) and within both caps.
void CheckClean(const tallyglass::ClockCommand& command) {
    const std::string& text = command.text;
    if (text.size() > tallyglass::kMaxMessageBytes || tallyglass::CleanMessage(text) != text) std::abort();
    size_t codePoints = 0;
    for (unsigned char c : text) codePoints += (c & 0xC0) != 0x80;
    if (codePoints > tallyglass::kMaxMessageCodePoints) std::abort();
    if (command.kind == tallyglass::CommandKind::SetMessage && text.empty()) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // The first line's first word is the method, the rest of it the target.
    const std::string_view line = input.substr(0, input.find('\n'));
    const size_t blank = line.find(' ');
    const std::string_view method = line.substr(0, blank);
    const std::string_view target = blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
    const Route route = RouteRequest(method, target);
    if (route.kind == RouteKind::Error && route.status != 400 && route.status != 404 && route.status != 405)
        std::abort();
    if (route.kind == RouteKind::Order) CheckClean(route.command);
    (void)PresentedKey(target, input, input);
    uint64_t orderId = 0;
    const tallyglass::CommandCheck parsed = ParseOrderJson(input, &orderId);
    if (parsed.command) CheckClean(*parsed.command);
    if (!parsed.command && parsed.why.empty()) std::abort();
    // An id goes back to a page as a number it holds exactly, and an error names it as JSON.
    if (orderId > kMaxOrderId) std::abort();
    if (!nlohmann::json::accept(ErrorJson(parsed.why, parsed.word, orderId))) std::abort();
    // Any bytes as a message, as OSC hands them over unescaped.
    CheckClean(*CheckCommand(CommandKind::SetMessage, input).command);
    return 0;
}
