#pragma once
// Orders that arrived together, applied as one: a flood of them costs one frame,
// not one each.
#include <cstddef>
#include <vector>

#include "command/clock_command.h"

namespace tallyglass {

// One command to apply, standing for this many of the batch's orders in a row:
// each of them is answered with what it did.
struct BatchStep {
    ClockCommand command;
    size_t orders = 1;
};

// Minutes more or less that follow one another become one change of their sum
// (within 32 bits), so that +1 min then -1 min is no change at all.
std::vector<BatchStep> WithAdditionsSummed(const std::vector<ClockCommand>& commands);

}  // namespace tallyglass
