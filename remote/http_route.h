#pragma once
// Which answer an HTTP request gets, from its method and target alone: the
// state, an order, a page, the WebSocket, or an error naming the bad word.
#include <optional>
#include <string>
#include <string_view>

#include "command/clock_command.h"

namespace tallyglass {

enum class RouteKind { State, Report, Order, ControlPage, ViewPage, OverlayPage, File, WebSocket, Error };

struct Route {
    RouteKind kind = RouteKind::Error;
    ClockCommand command;  // RouteKind::Order
    int status = 200;      // RouteKind::Error: 400, 404 or 405
    std::string error;     // why, for the JSON error
    std::string word;      // the word that could not be used (400); RouteKind::File: the file's name
};

// method: "GET", "POST", ...; target: path and query as sent ("/api/v1/add/60?key=...").
Route RouteRequest(std::string_view method, std::string_view target);

// The value of one query parameter, percent-decoded ('+' is a blank); nothing when absent.
std::optional<std::string> QueryValue(std::string_view target, std::string_view name);
// Percent-decoding; nothing for a broken escape.
std::optional<std::string> PercentDecode(std::string_view text, bool plusIsBlank);

}  // namespace tallyglass
