#include "remote/http_route.h"

#include <charconv>
#include <limits>

#include "core/duration_text.h"
#include "core/text_scan.h"

namespace {
constexpr std::string_view kApi = "/api/v1/";
// The pages' scripts and styles, apart from the pages so that no script runs inline.
constexpr std::string_view kFiles = "/files/";

Route Error(int status, std::string error, std::string word = {}) {
    Route route;
    route.status = status;
    route.error = std::move(error);
    route.word = std::move(word);
    return route;
}

Route Plain(RouteKind kind) {
    Route route;
    route.kind = kind;
    return route;
}

Route OrderRoute(RemoteOrder::Kind kind, int32_t seconds = 0, std::string text = {}) {
    Route route;
    route.kind = RouteKind::Order;
    route.order.kind = kind;
    route.order.seconds = seconds;
    route.order.text = std::move(text);
    return route;
}

std::optional<int32_t> ParseSeconds(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) return std::nullopt;
    return static_cast<int32_t>(value);
}

// An order with a word after its name: /add/60, /set/5m, /until/14:30.
Route OrderWithWord(std::string_view name, std::string_view rawWord) {
    const std::optional<std::string> word = PercentDecode(rawWord, false);
    const std::string shown = word ? *word : std::string(rawWord);
    if (name == "add") {
        const auto seconds = word ? ParseSeconds(*word) : std::nullopt;
        if (!seconds) return Error(400, "add takes whole seconds, such as 60 or -30", shown);
        return OrderRoute(RemoteOrder::Kind::Add, *seconds);
    }
    if (name == "set") {
        const auto length = word ? ParseDuration(*word) : std::nullopt;
        if (!length) return Error(400, "set takes a length such as 90, 45s, 20m, 1h30m or 1:30", shown);
        return OrderRoute(RemoteOrder::Kind::Set, *length);
    }
    if (name == "until") {
        const auto minute = word ? ParseClockTime(*word) : std::nullopt;
        if (!minute) return Error(400, "until takes a time of day such as 14:30", shown);
        return OrderRoute(RemoteOrder::Kind::Until, *minute);
    }
    if (name == "segment") {
        const auto number = word ? ParseSeconds(*word) : std::nullopt;
        if (!number || *number < 1) return Error(400, "segment takes a segment's number, 1 for the first", shown);
        return OrderRoute(RemoteOrder::Kind::Segment, *number);
    }
    if (name == "message" && rawWord == "clear") return OrderRoute(RemoteOrder::Kind::ClearMessage);
    return Error(404, "no such path");
}

Route ApiRoute(std::string_view rest, std::string_view target) {
    if (rest == "state") return Plain(RouteKind::State);
    if (rest == "ws") return Plain(RouteKind::WebSocket);
    if (rest == "start") return OrderRoute(RemoteOrder::Kind::Start);
    if (rest == "pause") return OrderRoute(RemoteOrder::Kind::Pause);
    if (rest == "resume") return OrderRoute(RemoteOrder::Kind::Resume);
    if (rest == "reset") return OrderRoute(RemoteOrder::Kind::Reset);
    if (rest == "next") return OrderRoute(RemoteOrder::Kind::Next);
    if (rest == "previous") return OrderRoute(RemoteOrder::Kind::Previous);
    if (rest == "message") {
        const auto text = QueryValue(target, "text");
        if (!text) return Error(400, "message takes ?text=", "text");
        const std::string clean = CleanMessage(*text);
        return clean.empty() ? OrderRoute(RemoteOrder::Kind::ClearMessage)
                             : OrderRoute(RemoteOrder::Kind::Message, 0, clean);
    }
    const size_t slash = rest.find('/');
    if (slash == std::string_view::npos || rest.find('/', slash + 1) != std::string_view::npos)
        return Error(404, "no such path");
    return OrderWithWord(rest.substr(0, slash), rest.substr(slash + 1));
}
}  // namespace

std::optional<std::string> PercentDecode(std::string_view text, bool plusIsBlank) {
    std::string decoded;
    decoded.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%') {
            if (i + 2 >= text.size()) return std::nullopt;
            const int high = HexDigitValue(text[i + 1]), low = HexDigitValue(text[i + 2]);
            if (high < 0 || low < 0) return std::nullopt;
            decoded += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            decoded += plusIsBlank && text[i] == '+' ? ' ' : text[i];
        }
    }
    return decoded;
}

std::optional<std::string> QueryValue(std::string_view target, std::string_view name) {
    const size_t question = target.find('?');
    if (question == std::string_view::npos) return std::nullopt;
    std::string_view query = target.substr(question + 1);
    while (!query.empty()) {
        const size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
        const size_t equals = pair.find('=');
        if (pair.substr(0, equals) != name) continue;
        return PercentDecode(equals == std::string_view::npos ? std::string_view() : pair.substr(equals + 1), true);
    }
    return std::nullopt;
}

Route RouteRequest(std::string_view method, std::string_view target) {
    const std::string_view path = target.substr(0, target.find('?'));
    const bool get = method == "GET", post = method == "POST";
    if (path == "/" || path == "/view") {
        if (!get) return Error(405, "pages are read with GET");
        return Plain(path == "/" ? RouteKind::ControlPage : RouteKind::ViewPage);
    }
    if (path.substr(0, kFiles.size()) == kFiles) {
        if (!get) return Error(405, "pages are read with GET");
        Route route = Plain(RouteKind::File);
        route.word = std::string(path.substr(kFiles.size()));
        return route;
    }
    if (path.substr(0, kApi.size()) != kApi) return Error(404, "no such path");
    Route route = ApiRoute(path.substr(kApi.size()), target);
    if (route.kind == RouteKind::Error && route.status == 404) return route;
    if (route.kind == RouteKind::WebSocket ? !get : !(get || post))
        return Error(405, route.kind == RouteKind::WebSocket ? "the WebSocket opens with GET" : "use GET or POST");
    return route;
}
