#include "clock/command_batch.h"

#include <algorithm>
#include <cstdint>

namespace tallyglass {

std::vector<BatchStep> WithAdditionsSummed(const std::vector<ClockCommand>& commands) {
    std::vector<BatchStep> steps;
    for (const ClockCommand& command : commands) {
        if (command.kind == CommandKind::AddSeconds && !steps.empty() &&
            steps.back().command.kind == CommandKind::AddSeconds) {
            ClockCommand& sum = steps.back().command;
            sum.number =
                static_cast<int32_t>(std::clamp<int64_t>(int64_t{sum.number} + command.number, INT32_MIN, INT32_MAX));
            ++steps.back().orders;
            continue;
        }
        steps.push_back({command, 1});
    }
    return steps;
}

}  // namespace tallyglass
