#pragma once
// What a failed automation call means for the watcher, from its HRESULT alone.
#include <cstdint>

namespace tallyglass {

enum class CallOutcome : uint8_t {
    Done,    // it answered
    Busy,    // rejected, or cancelled at its bound: asked again at the next round
    Gone,    // the program is no longer there: found again at a later round
    Failed,  // this member failed (the end-of-show black slide has no Slide)
};

CallOutcome OutcomeOf(int32_t hresult);

}  // namespace tallyglass
