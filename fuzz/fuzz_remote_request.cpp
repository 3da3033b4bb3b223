// Any request line and any WebSocket text: an answer the server can send, and an
// order whose message is clean (no control character, at most 200 characters).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "remote/access_keys.h"
#include "remote/http_route.h"
#include "remote/state_json.h"

namespace {
void CheckClean(const RemoteOrder& order) {
    size_t codePoints = 0;
    for (unsigned char c : order.text) {
        if (c < 0x20 || c == 0x7F) std::abort();
        codePoints += (c & 0xC0) != 0x80;
    }
    if (codePoints > 200) std::abort();
    if (order.kind == RemoteOrder::Kind::Message && order.text.empty()) std::abort();
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
    if (route.kind == RouteKind::Order) CheckClean(route.order);
    (void)PresentedKey(target, input, input);
    const ParsedOrder parsed = ParseOrderJson(input);
    if (parsed.order) CheckClean(*parsed.order);
    if (!parsed.order && parsed.error.empty()) std::abort();
    return 0;
}
