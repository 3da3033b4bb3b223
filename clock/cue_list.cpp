#include "clock/cue_list.h"

#include <algorithm>

#include "base/duration_text.h"

namespace tallyglass {

namespace {
constexpr size_t kMaxCues = 20;
constexpr int32_t kLatestCueSeconds = 1;
}  // namespace

std::vector<int32_t> ParseCueList(std::string_view text) {
    std::vector<int32_t> cues;
    while (!text.empty() && cues.size() < kMaxCues) {
        const size_t end = text.find_first_of(", \t");
        const auto seconds = ParseDuration(text.substr(0, end));
        if (seconds && std::find(cues.begin(), cues.end(), *seconds) == cues.end()) cues.push_back(*seconds);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return cues;
}

bool CueReached(const std::vector<int32_t>& cues, int32_t before, int32_t after) {
    return std::any_of(cues.begin(), cues.end(), [before, after](int32_t cue) {
        return before > cue && cue >= after && int64_t{cue} - after <= kLatestCueSeconds;
    });
}

}  // namespace tallyglass
