#include "remote/state_json.h"

#include <cstdio>
#include <nlohmann/json.hpp>

namespace tallyglass {

namespace {
using nlohmann::json;

std::string ColorText(uint32_t argb) {
    char text[10];
    std::snprintf(text, sizeof text, "#%08X", static_cast<unsigned>(argb));
    return text;
}

json SegmentsJson(const ClockSnapshot& s) {
    json list = json::array();
    for (size_t i = 0; i < s.segments.size(); ++i)
        list.push_back({{"name", s.segments[i].name},
                        {"length", s.segments[i].seconds},
                        {"plannedStart", i < s.plannedStarts.size() ? json(s.plannedStarts[i]) : json(nullptr)}});
    return list;
}

template <typename T>
json OrNull(const std::optional<T>& value) {
    return value ? json(*value) : json(nullptr);
}

tallyglass::CommandCheck Bad(std::string error, std::string word = {}) {
    return {std::nullopt, std::move(error), std::move(word)};
}

// The member that carries each order's value.
const char* FieldOf(tallyglass::CommandKind kind) {
    using tallyglass::CommandKind;
    switch (kind) {
        case CommandKind::AddSeconds:
            return "seconds";
        case CommandKind::SetLength:
            return "length";
        case CommandKind::CountUntil:
            return "time";
        case CommandKind::GoToSegment:
            return "number";
        default:
            return "text";
    }
}

tallyglass::CommandCheck OrderFrom(const std::string& name, const json& object) {
    const auto kind = tallyglass::CommandForNetworkWord(name);
    if (!kind) return Bad("no such order", name);
    if (!tallyglass::TakesWord(*kind)) return tallyglass::CheckCommand(*kind);
    const char* field = FieldOf(*kind);
    const auto found = object.find(field);
    // A number is read as its text, so that 1e99 or 1.5 is refused as such.
    const bool usable = found != object.end() &&
                        (found->is_string() || (found->is_number() && *kind != tallyglass::CommandKind::SetMessage));
    if (!usable) return Bad(name + " takes \"" + field + "\"", found == object.end() ? field : found->dump());
    return tallyglass::CheckCommand(*kind, found->is_string() ? found->get<std::string>() : found->dump());
}
}  // namespace

std::string StateJson(const ClockSnapshot& s, bool control, std::optional<bool> changed) {
    json state{{"phase", s.phase},
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
               {"segments", SegmentsJson(s)},
               {"plannedStart", OrNull(s.plannedStartMs)},
               {"plannedEnd", OrNull(s.plannedEndMs)},
               {"offset", OrNull(s.offset)},
               {"showEndsAt", OrNull(s.showEndsAtMs)},
               {"slide", OrNull(s.slide)},
               {"slideCount", OrNull(s.slideCount)},
               {"pace", OrNull(s.pace)},
               {"language", s.language},
               {"fontName", s.fontName},
               {"alertText", s.alertText},
               {"warnSeconds", s.warnSeconds},
               {"presets", s.presets},
               {"flash", s.flash},
               {"blackout", s.blackout},
               {"control", control}};
    if (changed) state["changed"] = *changed;
    // Text that is not valid UTF-8 (a title typed in another code page) is replaced, never a throw.
    return state.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string ErrorJson(std::string_view error, std::string_view word, uint64_t orderId) {
    json answer{{"error", error}};
    if (!word.empty()) answer["word"] = word;
    if (orderId) answer["id"] = orderId;
    return answer.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string AnswerJson(uint64_t orderId, bool changed) {
    return json{{"answer", orderId}, {"changed", changed}}.dump();
}

std::string KeepAliveJson(std::optional<int64_t> unixNowMs) {
    json alive{{"alive", true}};
    if (unixNowMs) alive["serverTime"] = *unixNowMs;
    return alive.dump();
}

tallyglass::CommandCheck ParseOrderJson(std::string_view text, uint64_t* orderId) {
    const json object = json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (orderId) *orderId = 0;
    if (!object.is_object()) return Bad("an order is a JSON object such as {\"order\":\"start\"}");
    if (const auto id = object.find("id"); orderId && id != object.end() && id->is_number_unsigned() &&
                                           id->get<uint64_t>() >= 1 && id->get<uint64_t>() <= kMaxOrderId)
        *orderId = id->get<uint64_t>();
    const auto name = object.find("order");
    if (name == object.end() || !name->is_string()) return Bad("an order needs \"order\"", "order");
    return OrderFrom(name->get<std::string>(), object);
}

}  // namespace tallyglass
