#pragma once
// New settings from the settings window, applied to the running clock: the
// fields of the keys that changed, the run of show when it was edited, and what
// the window must set up again (hot keys, remote control, the window's styles).
#include <optional>
#include <vector>

#include "clock/countdown_engine.h"
#include "store/run_of_show.h"
#include "store/settings_merge.h"

namespace tallyglass {

// The count goes on as it was: only what the settings describe changes. An
// edited show keeps the current segment where it still exists; an idle clock
// takes that segment's length.
EngineEffects ApplySettings(CountdownModel& model, const WrittenKeys& changed,
                            const std::optional<std::vector<ShowSegment>>& show);

}  // namespace tallyglass
