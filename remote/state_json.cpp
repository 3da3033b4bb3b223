#include "remote/state_json.h"

#include <cstdio>
#include <nlohmann/json.hpp>

#include "core/duration_text.h"

namespace {
using nlohmann::json;

std::string ColorText(uint32_t argb) {
    char text[10];
    std::snprintf(text, sizeof text, "#%08X", static_cast<unsigned>(argb));
    return text;
}

ParsedOrder Bad(std::string error, std::string word = {}) { return {std::nullopt, std::move(error), std::move(word)}; }

ParsedOrder Order(RemoteOrder::Kind kind, int32_t seconds = 0, std::string text = {}) {
    return {RemoteOrder{kind, seconds, std::move(text)}, {}, {}};
}

// A word that may come as a string or, for lengths, as a number of seconds.
std::string WordOf(const json& value) {
    if (value.is_string()) return value.get<std::string>();
    if (value.is_number_integer()) return std::to_string(value.get<int64_t>());
    return {};
}

ParsedOrder OrderFrom(const std::string& name, const json& object) {
    using Kind = RemoteOrder::Kind;
    if (name == "start") return Order(Kind::Start);
    if (name == "pause") return Order(Kind::Pause);
    if (name == "resume") return Order(Kind::Resume);
    if (name == "reset") return Order(Kind::Reset);
    if (name == "message/clear") return Order(Kind::ClearMessage);
    if (name == "next") return Order(Kind::Next);
    if (name == "previous") return Order(Kind::Previous);
    if (name == "segment") {
        const auto found = object.find("number");
        if (found == object.end() || !found->is_number_integer() || *found < 1 || *found > INT32_MAX)
            return Bad("segment takes \"number\": 1 for the first", found == object.end() ? "number" : found->dump());
        return Order(Kind::Segment, found->get<int32_t>());
    }
    if (name == "add") {
        const auto found = object.find("seconds");
        if (found == object.end() || !found->is_number_integer() || *found < INT32_MIN || *found > INT32_MAX)
            return Bad("add takes \"seconds\": whole seconds", found == object.end() ? "seconds" : found->dump());
        return Order(Kind::Add, found->get<int32_t>());
    }
    if (name == "set") {
        const auto found = object.find("length");
        const std::string word = found == object.end() ? std::string() : WordOf(*found);
        const auto length = ParseDuration(word);
        if (!length) return Bad("set takes \"length\": such as 90, 20m or 1:30", word);
        return Order(Kind::Set, *length);
    }
    if (name == "until") {
        const auto found = object.find("time");
        const std::string word = found == object.end() ? std::string() : WordOf(*found);
        const auto minute = ParseClockTime(word);
        if (!minute) return Bad("until takes \"time\": such as 14:30", word);
        return Order(Kind::Until, *minute);
    }
    if (name == "message") {
        const auto found = object.find("text");
        if (found == object.end() || !found->is_string()) return Bad("message takes \"text\"", "text");
        const std::string clean = CleanMessage(found->get<std::string>());
        return clean.empty() ? Order(Kind::ClearMessage) : Order(Kind::Message, 0, clean);
    }
    return Bad("no such order", name);
}
}  // namespace

std::string StateJson(const ClockSnapshot& s, bool control) {
    const json state{{"phase", s.phase},
                     {"paused", s.paused},
                     {"remaining", s.remaining},
                     {"text", s.text},
                     {"color", ColorText(s.color)},
                     {"length", s.length},
                     {"alertLength", s.alertLength},
                     {"endsAt", s.endsAtMs ? json(*s.endsAtMs) : json(nullptr)},
                     {"serverTime", s.serverTimeMs},
                     {"message", s.message},
                     {"version", s.version},
                     {"face", s.face},
                     {"elapsed", s.elapsed},
                     {"segment", s.segment},
                     {"segmentNumber", s.segmentNumber},
                     {"segmentCount", s.segmentCount},
                     {"nextSegment", s.nextSegment},
                     {"control", control}};
    // Text that is not valid UTF-8 (a title typed in another code page) is replaced, never a throw.
    return state.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string ErrorJson(std::string_view error, std::string_view word) {
    json answer{{"error", error}};
    if (!word.empty()) answer["word"] = word;
    return answer.dump(-1, ' ', false, json::error_handler_t::replace);
}

ParsedOrder ParseOrderJson(std::string_view text) {
    const json object = json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (!object.is_object()) return Bad("an order is a JSON object such as {\"order\":\"start\"}");
    const auto name = object.find("order");
    if (name == object.end() || !name->is_string()) return Bad("an order needs \"order\"", "order");
    return OrderFrom(name->get<std::string>(), object);
}
