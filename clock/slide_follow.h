#pragma once
// The clock following a slide show: what the watcher sees becomes the clock's commands
// (the show's slide taken in; with slideshow=start the count starts as a show begins;
// with follow it also pauses as the show ends or is left for a while, and resumes as
// it comes back). Keys, hot keys and the network still start and pause as they like:
// the show only resumes a pause it made.
#include <optional>
#include <string>
#include <vector>

#include "clock/countdown_engine.h"
#include "clock/countdown_model.h"
#include "command/clock_command.h"

namespace tallyglass {

// How long the show may be left for another program before the count pauses.
constexpr uint32_t kSlideShowAwayMs = 5000;

// The commands for what the watcher now sees, against what it saw last (the model's).
std::vector<ClockCommand> SlideShowCommands(const CountdownModel& model, const SlideShowSeen& seen);
// When the away timer fires: the pause, if the show is still left and the count runs.
std::optional<ClockCommand> SlideShowAwayTooLong(const CountdownModel& model);

// The dispatcher's: what the watcher sees taken into the model (the deck's budgets
// read again only when its slides changed), the away timer armed or stopped.
EngineEffects TakeSlideShowSeen(CountdownModel& model, const SlideShowSeen& seen);
EngineEffects PauseForSlideShow(CountdownModel& model, uint32_t nowMs);
EngineEffects ResumeForSlideShow(CountdownModel& model, uint32_t nowMs);

// Where the slide show stands for the state and the lines under the time: the slide
// showing among those the show shows, their count, and the pace; none without a show
// seen through automation.
struct SlidePlace {
    int32_t slide = 0, count = 0;
    int32_t pace = 0;  // seconds behind (positive) or ahead (negative) of the slide's planned span
};
std::optional<SlidePlace> SlidePlaceOf(const CountdownModel& model);

// About's line: the mode, what is seen now, and the first slide whose tag does not read;
// empty with slideshow=off.
std::string DescribeSlideShow(const CountdownModel& model);

}  // namespace tallyglass
