#include "base/duration_text.h"

#include <cstdio>

#include <cctype>
#include <vector>

namespace tallyglass {

namespace {

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// Digits only, at most ten of them (so that sums stay far inside 64 bits).
std::optional<int64_t> Number(std::string_view digits) {
    if (digits.empty() || digits.size() > 10) return std::nullopt;
    int64_t value = 0;
    for (char c : digits) {
        if (!IsDigit(c)) return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::vector<std::string_view> SplitAtColons(std::string_view text) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t colon; (colon = text.find(':', start)) != std::string_view::npos; start = colon + 1)
        parts.push_back(text.substr(start, colon - start));
    parts.push_back(text.substr(start));
    return parts;
}

// "1:30" or "1:30:00": the first part free, each later one two digits below 60.
std::optional<int64_t> ColonSeconds(std::string_view text) {
    const std::vector<std::string_view> parts = SplitAtColons(text);
    if (parts.size() > 3) return std::nullopt;
    auto total = Number(parts[0]);
    for (size_t i = 1; total && i < parts.size(); ++i) {
        const auto part = Number(parts[i]);
        if (parts[i].size() != 2 || !part || *part >= 60) return std::nullopt;
        total = *total * 60 + *part;
    }
    return total;
}

std::optional<int64_t> UnitSeconds(std::string_view text) {
    constexpr struct {
        char unit;
        int64_t seconds;
    } kUnits[] = {{'h', 3600}, {'m', 60}, {'s', 1}};
    int64_t total = 0;
    size_t next = 0;  // units before this one are used up
    while (!text.empty()) {
        size_t digits = 0;
        while (digits < text.size() && IsDigit(text[digits])) ++digits;
        if (digits == text.size()) return std::nullopt;
        const char unit = static_cast<char>(std::tolower(static_cast<unsigned char>(text[digits])));
        while (next < 3 && kUnits[next].unit != unit) ++next;
        const auto value = Number(text.substr(0, digits));
        if (next == 3 || !value) return std::nullopt;
        total += *value * kUnits[next++].seconds;
        text.remove_prefix(digits + 1);
    }
    return total;
}
}  // namespace

std::optional<int32_t> ParseDuration(std::string_view text) {
    std::optional<int64_t> seconds;
    if (text.find(':') != std::string_view::npos)
        seconds = ColonSeconds(text);
    else if (!text.empty() && IsDigit(text.back()))
        seconds = Number(text);
    else
        seconds = UnitSeconds(text);
    if (!seconds || *seconds <= 0 || *seconds > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(*seconds);
}

std::string FormatDuration(int32_t seconds) {
    if (seconds <= 0) return {};
    std::string text;
    const auto part = [&text](int32_t value, char unit) {
        if (value > 0) text += std::to_string(value) + unit;
    };
    part(seconds / 3600, 'h');
    part(seconds % 3600 / 60, 'm');
    part(seconds % 60, 's');
    return text;
}

std::optional<int32_t> ParseClockTime(std::string_view text) {
    const std::vector<std::string_view> parts = SplitAtColons(text);
    if (parts.size() != 2 || parts[0].size() > 2 || parts[1].size() != 2) return std::nullopt;
    const auto hours = Number(parts[0]);
    const auto minutes = Number(parts[1]);
    if (!hours || !minutes || *hours > 23 || *minutes > 59) return std::nullopt;
    return static_cast<int32_t>(*hours * 60 + *minutes);
}

std::optional<int32_t> ParseTimeOfDay(std::string_view text) {
    const std::vector<std::string_view> parts = SplitAtColons(text);
    if (parts.size() != 2 && parts.size() != 3) return std::nullopt;
    if (parts[0].size() > 2 || parts[1].size() != 2 || (parts.size() == 3 && parts[2].size() != 2)) return std::nullopt;
    const auto hours = Number(parts[0]), minutes = Number(parts[1]);
    const auto seconds = parts.size() == 3 ? Number(parts[2]) : std::optional<int64_t>(0);
    if (!hours || !minutes || !seconds || *hours > 23 || *minutes > 59 || *seconds > 59) return std::nullopt;
    return static_cast<int32_t>(*hours * 3600 + *minutes * 60 + *seconds);
}

std::string FormatTimeOfDay(int32_t secondOfDay) {
    char text[12];
    const int32_t s = ((secondOfDay % 86400) + 86400) % 86400;
    if (s % 60)
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", s / 3600, s % 3600 / 60, s % 60);
    else
        std::snprintf(text, sizeof text, "%02d:%02d", s / 3600, s % 3600 / 60);
    return text;
}

int32_t SecondsUntil(int32_t minuteOfDay, int32_t localSecondOfDay) {
    const int64_t rest = (int64_t{minuteOfDay} * 60 - localSecondOfDay) % kSecondsPerDay;
    return static_cast<int32_t>(rest <= 0 ? rest + kSecondsPerDay : rest);
}

std::string SpanText(int64_t seconds) {
    const int64_t magnitude = seconds < 0 ? -seconds : seconds;
    const auto two = [](int64_t n) { return (n < 10 ? "0" : "") + std::to_string(n); };
    const int64_t hours = magnitude / 3600, minutes = magnitude % 3600 / 60;
    return (hours ? std::to_string(hours) + ":" + two(minutes) : std::to_string(minutes)) + ":" + two(magnitude % 60);
}

}  // namespace tallyglass
