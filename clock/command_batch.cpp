#include "clock/command_batch.h"

#include <algorithm>
#include <cstdint>

namespace tallyglass {

std::vector<ClockCommand> WithAdditionsSummed(const std::vector<ClockCommand>& commands) {
    std::vector<ClockCommand> summed;
    for (const ClockCommand& command : commands) {
        if (command.kind == CommandKind::AddSeconds && !summed.empty() &&
            summed.back().kind == CommandKind::AddSeconds) {
            const int64_t sum = int64_t{summed.back().number} + command.number;
            summed.back().number = static_cast<int32_t>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX));
            continue;
        }
        summed.push_back(command);
    }
    return summed;
}

}  // namespace tallyglass
