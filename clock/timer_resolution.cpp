#include "clock/timer_resolution.h"

namespace tallyglass {

std::optional<uint32_t> ChooseTimerResolution(bool capsRead, uint32_t periodMin, uint32_t periodMax) {
    if (!capsRead) return std::nullopt;
    uint32_t r = periodMin <= 1 ? 1 : periodMin;
    if (r >= periodMax) r = periodMax;
    return 5 * r;
}

}  // namespace tallyglass
