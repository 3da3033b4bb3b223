#include "command/command_line.h"

#include "command/clock_command.h"

namespace tallyglass {

const char kCommandLineUsage[] =
    "TallyglassCountdown.exe [LENGTH: 90, 45s, 20m, 1h30m, 1:30:00] [--start] [--reset] [--pause] "
    "[--add SECONDS] [--until HH:MM] [--next] [--previous] [--segment N] [--show FILE.csv] [--settings FILE]";

namespace {
ParsedCommandLine Refuse(std::string word, std::string why) { return {false, {}, std::move(word), std::move(why)}; }

int32_t SaturatedSum(int32_t a, int32_t b) {
    const int64_t sum = int64_t{a} + b;
    return static_cast<int32_t>(sum > INT32_MAX ? INT32_MAX : sum < INT32_MIN ? INT32_MIN : sum);
}

// The command a valued option names; --settings and --show are no command.
tallyglass::CommandKind KindOfOption(const std::string& option) {
    using tallyglass::CommandKind;
    return option == "--add"       ? CommandKind::AddSeconds
           : option == "--segment" ? CommandKind::GoToSegment
                                   : CommandKind::CountUntil;
}

// Reads the option that takes a value; false with the reason when it cannot.
bool TakeValue(const std::string& option, const std::string& value, CommandLine& line, std::string& why) {
    if (option == "--settings" || option == "--show") {
        if (value.empty()) return why = option + " takes a file", false;
        (option == "--show" ? line.showPath : line.settingsPath) = value;
        return true;
    }
    const tallyglass::CommandCheck check = tallyglass::CheckCommand(KindOfOption(option), value);
    if (!check.command) return why = "--" + check.why, false;
    const int32_t number = check.command->number;
    if (option == "--add")
        line.orders.addSeconds = SaturatedSum(line.orders.addSeconds, number);
    else if (option == "--segment")
        line.orders.segment = number;
    else
        line.orders.untilMinute = number;
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
        if (word == "--add" || word == "--until" || word == "--segment" || word == "--settings" || word == "--show") {
            if (i + 1 == words.size()) return Refuse(word, word + " needs a value after it");
            std::string why;
            if (!TakeValue(word, words[++i], line, why)) return Refuse(words[i], why);
            continue;
        }
        if (word.rfind("-", 0) == 0) return Refuse(word, "unknown option");
        if (line.orders.length) return Refuse(word, "a second length");
        const tallyglass::CommandCheck length = tallyglass::CheckCommand(tallyglass::CommandKind::SetLength, word);
        if (!length.command) return Refuse(word, "not a length");
        line.orders.length = length.command->number;
    }
    return parsed;
}

std::vector<tallyglass::ClockCommand> CommandsOf(const ClockOrders& orders) {
    using tallyglass::CommandKind;
    std::vector<tallyglass::ClockCommand> commands;
    const auto add = [&commands](CommandKind kind, int32_t number = 0) { commands.push_back({kind, number, {}, {}}); };
    if (orders.show) {
        ClockCommand show;
        show.kind = CommandKind::ApplySettings;
        show.show = orders.show;
        commands.push_back(show);
        add(CommandKind::GoToSegment, 1);
    }
    if (orders.reset) add(CommandKind::Reset);
    if (orders.segment) add(CommandKind::GoToSegment, *orders.segment);
    // Steps move at once: past either end of the show they move nothing, as one key press would.
    if (orders.segmentSteps > 0) add(CommandKind::NextSegment, orders.segmentSteps);
    if (orders.segmentSteps < 0)
        add(CommandKind::PreviousSegment, -int64_t{orders.segmentSteps} > INT32_MAX ? INT32_MAX : -orders.segmentSteps);
    if (orders.length) add(CommandKind::SetLength, *orders.length);
    if (orders.untilMinute)
        add(CommandKind::CountUntil, *orders.untilMinute);
    else if (orders.start)
        add(CommandKind::Start);
    if (orders.addSeconds != 0) add(CommandKind::AddSeconds, orders.addSeconds);
    if (orders.pause) add(CommandKind::PauseOrResume);
    return commands;
}

bool HasWordsAfterProgram(std::wstring_view line) {
    const bool quoted = !line.empty() && line.front() == L'"';
    const size_t nameEnd = quoted ? line.find(L'"', 1) : line.find_first_of(L" \t");
    if (nameEnd == std::wstring_view::npos) return false;
    return line.find_first_not_of(L" \t", nameEnd + 1) != std::wstring_view::npos;
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

}  // namespace tallyglass
