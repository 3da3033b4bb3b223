#pragma once
// A message to the presenter as any way in may send it, made safe to show and to send on.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tallyglass {

constexpr size_t kMaxMessageCodePoints = 200;
// 200 ideographs fit; 200 emoji, four bytes each, do not: the bytes bound the work as much as the characters.
constexpr size_t kMaxMessageBytes = 600;

// Invalid UTF-8 becomes U+FFFD, one for each byte that starts no valid sequence;
// control characters (C0, DEL, C1), line and paragraph separators and the
// direction overrides and isolates are dropped; the rest is cut at 200 code
// points or 600 bytes, whichever comes first, never inside a code point.
std::string CleanMessage(std::string_view text);

constexpr size_t kMaxMessagePresets = 12;

// The ready messages of "Wrap up|Five minutes|Slow down": each made safe as
// above and without blanks around it; empty ones dropped; at most twelve.
std::vector<std::string> MessagePresets(std::string_view text);

}  // namespace tallyglass
