#pragma once
// Orders that arrived together, applied as one: a flood of them costs one frame,
// not one each.
#include <vector>

#include "command/clock_command.h"

namespace tallyglass {

// Minutes more or less that follow one another become one change of their sum
// (within 32 bits), so that +1 min then -1 min is no change at all.
std::vector<ClockCommand> WithAdditionsSummed(const std::vector<ClockCommand>& commands);

}  // namespace tallyglass
