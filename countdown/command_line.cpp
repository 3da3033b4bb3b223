#include "countdown/command_line.h"

#include "core/duration_text.h"
#include "core/settings_store.h"

const char kCommandLineUsage[] =
    "TallyglassCountdown.exe [LENGTH: 90, 45s, 20m, 1h30m, 1:30:00] [--start] [--reset] [--pause] "
    "[--add SECONDS] [--until HH:MM] [--next] [--previous] [--segment N] [--settings FILE]";

namespace {
ParsedCommandLine Refuse(std::string word, std::string why) { return {false, {}, std::move(word), std::move(why)}; }

int32_t SaturatedSum(int32_t a, int32_t b) {
    const int64_t sum = int64_t{a} + b;
    return static_cast<int32_t>(sum > INT32_MAX ? INT32_MAX : sum < INT32_MIN ? INT32_MIN : sum);
}

// Reads the option that takes a value; false with the reason when it cannot.
bool TakeValue(const std::string& option, const std::string& value, CommandLine& line, std::string& why) {
    if (option == "--add") {
        int32_t seconds = 0;
        if (!ParseStoredInt(value, seconds))
            return why = "--add takes a whole number of seconds, such as 60 or -60", false;
        line.orders.addSeconds = SaturatedSum(line.orders.addSeconds, seconds);
    } else if (option == "--segment") {
        int32_t number = 0;
        if (!ParseStoredInt(value, number) || number < 1)
            return why = "--segment takes a segment's number, 1 for the first", false;
        line.orders.segment = number;
    } else if (option == "--until") {
        line.orders.untilMinute = ParseClockTime(value);
        if (!line.orders.untilMinute) return why = "--until takes a time of day such as 14:30", false;
    } else {
        if (value.empty()) return why = "--settings takes a file", false;
        line.settingsPath = value;
    }
    return true;
}

bool TakeFlag(const std::string& word, ClockOrders& orders) {
    if (word == "--start") return orders.start = true;
    if (word == "--reset") return orders.reset = true;
    if (word == "--pause") return orders.pause = true;
    if (word == "--next" || word == "--previous") {
        orders.segmentSteps = SaturatedSum(orders.segmentSteps, word == "--next" ? 1 : -1);
        return true;
    }
    return false;
}
}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& words) {
    ParsedCommandLine parsed;
    CommandLine& line = parsed.line;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (TakeFlag(word, line.orders)) continue;
        if (word == "--add" || word == "--until" || word == "--segment" || word == "--settings") {
            if (i + 1 == words.size()) return Refuse(word, word + " needs a value after it");
            std::string why;
            if (!TakeValue(word, words[++i], line, why)) return Refuse(words[i], why);
            continue;
        }
        if (word.rfind("-", 0) == 0) return Refuse(word, "unknown option");
        if (line.orders.length) return Refuse(word, "a second length");
        line.orders.length = ParseDuration(word);
        if (!line.orders.length) return Refuse(word, "not a length");
    }
    return parsed;
}

std::vector<std::string> WordsToHandOver(const std::vector<std::string>& words) {
    std::vector<std::string> kept;
    for (size_t i = 0; i < words.size(); ++i) {
        if (words[i] == "--settings") {
            ++i;
            continue;
        }
        kept.push_back(words[i]);
    }
    return kept;
}

std::string JoinWords(const std::vector<std::string>& words) {
    std::string joined;
    for (const std::string& word : words) joined += word + '\0';
    return joined;
}

std::vector<std::string> SplitWords(std::string_view joined) {
    std::vector<std::string> words;
    while (!joined.empty()) {
        const size_t end = joined.find('\0');
        words.emplace_back(joined.substr(0, end));
        if (end == std::string_view::npos) break;
        joined.remove_prefix(end + 1);
    }
    return words;
}
