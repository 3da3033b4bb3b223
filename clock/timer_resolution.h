#pragma once
#include <cstdint>
#include <optional>

namespace tallyglass {

// The resolution (ms) asked of the periodic timer and of timeBeginPeriod, from
// the device capabilities; nothing when they could not be read.
std::optional<uint32_t> ChooseTimerResolution(bool capsRead, uint32_t periodMin, uint32_t periodMax);

}  // namespace tallyglass
