#pragma once
// Cues: times before the end at which the clock plays a short sound and
// flashes once, so that a speaker has warning before the alert.
#include <cstdint>
#include <string_view>
#include <vector>

namespace tallyglass {

// "5m, 1m" or "300 60": the settings file's LENGTH forms, separated by commas or
// blanks. Words that are not lengths are left out; at most 20 cues, each once.
std::vector<int32_t> ParseCueList(std::string_view text);

// Whether the count, going by time from `before` to `after` seconds left,
// reached a cue: at this step or at most a second late (a late tick). A cue
// that a jump of minutes passed (a sleep) is not played late.
bool CueReached(const std::vector<int32_t>& cues, int32_t before, int32_t after);

}  // namespace tallyglass
