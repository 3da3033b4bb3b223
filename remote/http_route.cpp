#include "remote/http_route.h"

#include "base/text_scan.h"

namespace tallyglass {

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

Route OrderRoute(const tallyglass::CommandCheck& check) {
    if (!check.command) return Error(400, check.why, check.word);
    Route route;
    route.kind = RouteKind::Order;
    route.command = *check.command;
    return route;
}

// /api/v1/<word>, /api/v1/<word>/<value>, or /api/v1/message?text=...
Route ApiRoute(std::string_view rest, std::string_view target) {
    using tallyglass::CommandKind;
    if (rest == "state") return Plain(RouteKind::State);
    if (rest == "report.csv") return Plain(RouteKind::Report);
    if (rest == "ws") return Plain(RouteKind::WebSocket);
    if (const auto kind = tallyglass::CommandForNetworkWord(rest)) {
        if (!tallyglass::TakesWord(*kind)) return OrderRoute(tallyglass::CheckCommand(*kind));
        if (*kind != CommandKind::SetMessage) return Error(404, "no such path");
        const auto text = QueryValue(target, "text");
        if (!text) return Error(400, "message takes ?text=", "text");
        return OrderRoute(tallyglass::CheckCommand(*kind, *text));
    }
    const size_t slash = rest.find('/');
    if (slash == std::string_view::npos || rest.find('/', slash + 1) != std::string_view::npos)
        return Error(404, "no such path");
    const auto kind = tallyglass::CommandForNetworkWord(rest.substr(0, slash));
    // A message's text comes in the query, where any character may be escaped.
    if (!kind || !tallyglass::TakesWord(*kind) || *kind == CommandKind::SetMessage) return Error(404, "no such path");
    const std::string_view rawWord = rest.substr(slash + 1);
    // A broken escape keeps its '%', which no value reads: refused as the word it is.
    const std::optional<std::string> word = PercentDecode(rawWord, false);
    return OrderRoute(tallyglass::CheckCommand(*kind, word ? *word : std::string(rawWord)));
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
    if (path == "/" || path == "/view" || path == "/overlay") {
        if (!get) return Error(405, "pages are read with GET");
        return Plain(path == "/"       ? RouteKind::ControlPage
                     : path == "/view" ? RouteKind::ViewPage
                                       : RouteKind::OverlayPage);
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

}  // namespace tallyglass
