#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "clock/command_batch.h"
#include "clock/hot_key_table.h"
#include "command/clock_command.h"
#include "command/command_line.h"
#include "command/key_commands.h"
#include "command/message_text.h"
#include "remote/http_route.h"
#include "remote/osc_packet.h"
#include "remote/state_json.h"

using namespace tallyglass;

namespace {
using tallyglass::ClockCommand;
using tallyglass::CommandKind;
using W = std::vector<std::string>;

std::string PercentEncoded(const std::string& text) {
    std::string out;
    for (const unsigned char c : text) {
        char escape[4];
        std::snprintf(escape, sizeof escape, "%%%02X", c);
        out += std::isalnum(c) ? std::string(1, static_cast<char>(c)) : std::string(escape);
    }
    return out;
}

// Every transport's view of one order, each through its own parser: the
// datagram's bytes for OSC, the target for HTTP, the text for a WebSocket.
struct Ways {
    uint32_t key = 0;  // a virtual-key code; 0: no key gives it
    int hotKey = -1;   // a slot of the hot-key table
    W words;           // the command line's; empty: none
    std::string http;  // the target; empty: none
    std::string json;
    std::optional<OscMessage> osc;
};

std::vector<std::pair<std::string, std::optional<ClockCommand>>> EveryWay(const Ways& w) {
    std::vector<std::pair<std::string, std::optional<ClockCommand>>> seen;
    if (w.key) seen.emplace_back("key", tallyglass::CommandForKey(w.key));
    if (w.hotKey >= 0) seen.emplace_back("hot key", CommandOf(HotKeySlots()[static_cast<size_t>(w.hotKey)]));
    if (!w.words.empty()) {
        const ParsedCommandLine parsed = ParseCommandLine(w.words);
        const auto commands = parsed.ok ? CommandsOf(parsed.line.orders) : std::vector<ClockCommand>{};
        seen.emplace_back("command line", commands.size() == 1 ? std::optional(commands[0]) : std::nullopt);
    }
    if (!w.http.empty()) {
        const Route route = RouteRequest("GET", w.http);
        seen.emplace_back("HTTP", route.kind == RouteKind::Order ? std::optional(route.command) : std::nullopt);
    }
    if (!w.json.empty()) seen.emplace_back("WebSocket", ParseOrderJson(w.json).command);
    if (w.osc) {
        const std::vector<uint8_t> packet = EncodeOscMessage(*w.osc);
        const auto messages = DecodeOscPacket(packet.data(), packet.size());
        const auto check = messages.size() == 1 ? CommandFromOsc(messages[0]) : std::nullopt;
        seen.emplace_back("OSC", check ? check->command : std::nullopt);
    }
    return seen;
}

ClockCommand Command(CommandKind kind, int32_t number = 0, std::string text = {}) {
    return {kind, number, std::move(text), {}};
}

// The same order by every way in gives the same command, or none by any.
TEST(OneCommand, EveryWayInGivesTheSameCommandOrRefusesTheSame) {
    const std::string hostile = "Wrap\r\nup\xC2\x85" + std::string(300, 'x');
    const std::string cleaned = "Wrapup" + std::string(194, 'x');
    struct Row {
        Ways ways;
        std::optional<ClockCommand> expected;
    };
    const Row rows[] = {
        {{0x71, 0, W{"--start"}, "/api/v1/start", R"({"order":"start"})", OscMessage{"/tallyglass/start", {1.0f}}},
         Command(CommandKind::Start)},
        {{0x72, 2, W{"--pause"}, "/api/v1/pause", R"({"order":"pause"})", OscMessage{"/tallyglass/pause", {}}},
         Command(CommandKind::PauseOrResume)},
        {{0x73, 1, W{"--reset"}, "/api/v1/reset", R"({"order":"reset"})", OscMessage{"/tallyglass/reset", {}}},
         Command(CommandKind::Reset)},
        {{0x26, 3, W{"--add", "60"}, "/api/v1/add/60", R"({"order":"add","seconds":60})",
          OscMessage{"/tallyglass/add", {59.6f}}},
         Command(CommandKind::AddSeconds, 60)},
        {{0x28, 4, W{"--add", "-60"}, "/api/v1/add/-60", R"({"order":"add","seconds":"-60"})",
          OscMessage{"/tallyglass/add", {int32_t{-60}}}},
         Command(CommandKind::AddSeconds, -60)},
        {{0x27, 6, W{"--next"}, "/api/v1/next", R"({"order":"next"})", OscMessage{"/tallyglass/next", {}}},
         Command(CommandKind::NextSegment, 1)},
        {{0x25, 7, W{"--previous"}, "/api/v1/previous", R"({"order":"previous"})",
          OscMessage{"/tallyglass/previous", {}}},
         Command(CommandKind::PreviousSegment, 1)},
        {{0x2E,
          -1,
          {},
          "/api/v1/message/clear",
          R"({"order":"message/clear"})",
          OscMessage{"/tallyglass/message/clear", {}}},
         Command(CommandKind::ClearMessage)},
        {{0, 5, {}, {}, {}, std::nullopt}, Command(CommandKind::ToggleClickThrough)},
        {{0, -1, {}, "/api/v1/flash", R"({"order":"flash","id":4})", OscMessage{"/tallyglass/flash", {}}},
         Command(CommandKind::FlashMessage)},
        {{0, -1, {}, "/api/v1/blackout/on", R"({"order":"blackout/on"})", OscMessage{"/tallyglass/blackout/on", {}}},
         Command(CommandKind::BlackoutOn)},
        {{0, -1, {}, "/api/v1/blackout/off", R"({"order":"blackout/off"})", OscMessage{"/tallyglass/blackout/off", {}}},
         Command(CommandKind::BlackoutOff)},
        {{0, -1, W{"1:30"}, "/api/v1/set/1%3A30", R"({"order":"set","length":90})",
          OscMessage{"/tallyglass/set", {"90s"}}},
         Command(CommandKind::SetLength, 90)},
        {{0, -1, W{"--until", "14:30"}, "/api/v1/until/14:30", R"({"order":"until","time":"14:30"})",
          OscMessage{"/tallyglass/until", {"14:30"}}},
         Command(CommandKind::CountUntil, 14 * 60 + 30)},
        {{0, -1, W{"--segment", "3"}, "/api/v1/segment/3", R"({"order":"segment","number":3})",
          OscMessage{"/tallyglass/segment", {3.0f}}},
         Command(CommandKind::GoToSegment, 3)},
        {{0,
          -1,
          {},
          "/api/v1/message?text=" + PercentEncoded(hostile),  // any character may be escaped there
          R"({"order":"message","text":"Wrap\r\nup\u0085)" + std::string(300, 'x') + R"("})",
          OscMessage{"/tallyglass/message", {hostile}}},
         Command(CommandKind::SetMessage, 0, cleaned)},
        // The bad ones: refused by every way, never cut down to something else.
        {{0, -1, W{"--add", "2147483648"}, "/api/v1/add/2147483648", R"({"order":"add","seconds":2147483648})",
          OscMessage{"/tallyglass/add", {3e9f}}},
         std::nullopt},
        {{0, -1, W{"--segment", "0"}, "/api/v1/segment/0", R"({"order":"segment","number":0})",
          OscMessage{"/tallyglass/segment", {int32_t{0}}}},
         std::nullopt},
        {{0, -1, W{"--until", "24:00"}, "/api/v1/until/24:00", R"({"order":"until","time":"24:00"})",
          OscMessage{"/tallyglass/until", {int32_t{1430}}}},
         std::nullopt},
        {{0, -1, W{"0"}, "/api/v1/set/0", R"({"order":"set","length":0})", OscMessage{"/tallyglass/set", {0.2f}}},
         std::nullopt},
    };
    for (const Row& row : rows) {
        const auto seen = EveryWay(row.ways);
        for (const auto& [way, command] : seen) {
            SCOPED_TRACE(way + " for " + (row.ways.http.empty() ? "a key" : row.ways.http.substr(0, 40)));
            ASSERT_EQ(command.has_value(), row.expected.has_value());
            if (command) {
                EXPECT_TRUE(*command == *row.expected) << command->text.size() << " " << command->number;
            }
        }
    }
}

// Whatever bytes arrive, a message is valid UTF-8 of at most 200 code points and
// 600 bytes, with nothing that breaks the line or turns the text around.
TEST(OneCommand, MessagesAreMadeSafeToShow) {
    const std::string fffd = "\xEF\xBF\xBD";
    std::string replaced200, ideographs, emoji;
    for (int i = 0; i < 200; ++i) replaced200 += fffd;
    for (int i = 0; i < 250; ++i) ideographs += "\xE6\x97\xB6", emoji += "\xF0\x9F\x98\x80";
    const std::pair<std::string, std::string> cases[] = {
        {"a\tb\r\nc\x7f"
         "d\xC2\x85"
         "e",
         "abcde"},
        {std::string(2000, '\x80'), replaced200},  // continuation bytes count, each as U+FFFD
        {"a\xC0\xAF"
         "b",
         "a" + fffd + fffd + "b"},                        // an overlong '/'
        {"\xED\xA0\x80", fffd + fffd + fffd},             // a surrogate
        {"\xF4\x90\x80\x80", fffd + fffd + fffd + fffd},  // past U+10FFFF
        {"abc\xE6\x97", "abc" + fffd + fffd},             // cut short
        {"\xE2\x80\xAE"
         "cba\xE2\x81\xA6"
         "x\xE2\x80\xA8"
         "y",
         "cbaxy"},                                   // overrides, isolates, line separators
        {"e\xCC\x81\xCC\x81", "e\xCC\x81\xCC\x81"},  // combining marks stay (and count)
        {ideographs, ideographs.substr(0, 600)},     // 200 code points
        {emoji, emoji.substr(0, 600)},               // 600 bytes: 150 code points
        {std::string(199, 'a') + "\xE6\x97\xB6\xE6\x97\xB6", std::string(199, 'a') + "\xE6\x97\xB6"},
    };
    for (const auto& [sent, shown] : cases) EXPECT_EQ(tallyglass::CleanMessage(sent), shown) << sent.size();
}
// A batch's minutes more or less that follow one another count as their sum, saturated;
// anything between them keeps them apart.
TEST(OneCommand, ABatchSumsTheAdditionsThatFollowOneAnother) {
    const ClockCommand start = Command(CommandKind::Start);
    const auto add = [](int32_t seconds) { return Command(CommandKind::AddSeconds, seconds); };
    const std::vector<BatchStep> summed =
        WithAdditionsSummed({add(60), add(-60), add(30), start, add(INT32_MAX), add(INT32_MAX), add(-5)});
    ASSERT_EQ(summed.size(), 3u);
    EXPECT_TRUE(summed[0].command == add(30));
    EXPECT_TRUE(summed[1].command == start);
    EXPECT_TRUE(summed[2].command == add(INT32_MAX - 5)) << summed[2].command.number;  // saturated at each step
    // Each step answers for the orders it stands for, so every order gets one answer.
    EXPECT_EQ(summed[0].orders + summed[1].orders + summed[2].orders, 7u);
    EXPECT_EQ(summed[0].orders, 3u);
}
}  // namespace
