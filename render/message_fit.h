#pragma once
// The message to the presenter cut into the lines the screen has room for. Its text
// comes from the network, so the work is bounded whatever arrives: at most
// kMessageLayoutCodePoints are ever measured, and a line is found by a binary search
// on where it ends, a few measurements of the whole, never one per prefix.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tallyglass {

// What the network lets through; anything beyond it is never laid out.
constexpr size_t kMessageLayoutCodePoints = 200;
// Ends a message cut short (U+2026, UTF-8).
constexpr std::string_view kMessageEllipsis = "\xE2\x80\xA6";

// The width in pixels a UTF-8 text takes at the message's size.
using MeasureText = std::function<int32_t(std::string_view)>;

// At most maxLines lines (UTF-8), each measured no wider than width where one
// character fits: broken after a space where the line has one, else between two
// characters (never before a combining mark); the last ends in the ellipsis when
// text is left over. Bytes that are not UTF-8 count as one character each.
std::vector<std::string> FitMessage(std::string_view text, int32_t width, int32_t maxLines, const MeasureText& measure);

}  // namespace tallyglass
