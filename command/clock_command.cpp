#include "command/clock_command.h"

#include <charconv>
#include <utility>

#include "base/duration_text.h"
#include "command/message_text.h"

namespace tallyglass {
namespace {
CommandCheck Made(CommandKind kind, int32_t number = 0, std::string text = {}) {
    ClockCommand command;
    command.kind = kind;
    command.number = number;
    command.text = std::move(text);
    return {std::move(command), {}, {}};
}

CommandCheck Refused(std::string why, std::string_view word) {
    return {std::nullopt, std::move(why), std::string(word)};
}

// Whole seconds within 32 bits, with an optional sign: no blanks, no fraction.
std::optional<int32_t> ParseWholeNumber(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

bool SameValues(const CountdownValues& a, const CountdownValues& b) {
    return a.m_sizeNormal == b.m_sizeNormal && a.m_sizeAlert == b.m_sizeAlert &&
           a.m_countdownSeconds == b.m_countdownSeconds && a.m_alertSeconds == b.m_alertSeconds &&
           a.m_noBackground == b.m_noBackground && a.m_alertCenter == b.m_alertCenter &&
           a.m_alertSound == b.m_alertSound;
}

constexpr std::pair<std::string_view, CommandKind> kNetworkWords[] = {
    {"start", CommandKind::Start},
    {"pause", CommandKind::PauseOrResume},
    {"resume", CommandKind::Resume},
    {"reset", CommandKind::Reset},
    {"add", CommandKind::AddSeconds},
    {"set", CommandKind::SetLength},
    {"until", CommandKind::CountUntil},
    {"next", CommandKind::NextSegment},
    {"previous", CommandKind::PreviousSegment},
    {"segment", CommandKind::GoToSegment},
    {"message", CommandKind::SetMessage},
    {"message/clear", CommandKind::ClearMessage},
    {"flash", CommandKind::FlashMessage},
    {"blackout/on", CommandKind::BlackoutOn},
    {"blackout/off", CommandKind::BlackoutOff},
};
}  // namespace

const char* WayInName(WayIn way) {
    constexpr const char* kNames[] = {"clock", "key", "hot key", "menu",     "command line",
                                      "page",  "API", "OSC",     "settings", "slide show"};
    return kNames[static_cast<size_t>(way)];
}

bool operator==(const ClockCommand& a, const ClockCommand& b) {
    return a.kind == b.kind && a.number == b.number && a.text == b.text &&
           (a.kind != CommandKind::NewCountdown || SameValues(a.values, b.values)) && a.settings == b.settings &&
           a.show == b.show && a.slideShow == b.slideShow;
}

CommandCheck CheckCommand(CommandKind kind, std::string_view word) {
    switch (kind) {
        case CommandKind::AddSeconds:
            if (const auto seconds = ParseWholeNumber(word)) return Made(kind, *seconds);
            return Refused("add takes whole seconds, such as 60 or -30", word);
        case CommandKind::SetLength:
            if (const auto length = ParseDuration(word)) return Made(kind, *length);
            return Refused("set takes a length such as 90, 45s, 20m, 1h30m or 1:30", word);
        case CommandKind::CountUntil:
            if (const auto minute = ParseClockTime(word)) return Made(kind, *minute);
            return Refused("until takes a time of day such as 14:30", word);
        case CommandKind::GoToSegment:
            if (const auto number = ParseWholeNumber(word); number && *number >= 1) return Made(kind, *number);
            return Refused("segment takes a segment's number, 1 for the first", word);
        case CommandKind::SetMessage: {
            std::string clean = CleanMessage(word);
            if (clean.empty()) return Made(CommandKind::ClearMessage);
            return Made(kind, 0, std::move(clean));
        }
        case CommandKind::NextSegment:
        case CommandKind::PreviousSegment:
            return Made(kind, 1);  // one step; the command line may ask for more at once
        default:
            return Made(kind);
    }
}

std::optional<CommandKind> CommandForNetworkWord(std::string_view word) {
    for (const auto& [name, kind] : kNetworkWords)
        if (word == name) return kind;
    return std::nullopt;
}

bool TakesWord(CommandKind kind) {
    return kind == CommandKind::AddSeconds || kind == CommandKind::SetLength || kind == CommandKind::CountUntil ||
           kind == CommandKind::GoToSegment || kind == CommandKind::SetMessage;
}

}  // namespace tallyglass
