#pragma once
// The report of a day's show from its run log: one row per segment run, planned against
// actual, as a CSV a spreadsheet opens.
#include <string>
#include <string_view>
#include <vector>

#include "store/run_of_show.h"

namespace tallyglass {

inline constexpr char kReportHeader[] =
    "segment,planned_start,planned_length,actual_start,actual_end,duration,over,paused,adjusted";

// logText: the run log's lines; show: the running order, for each segment's plan. A run
// starts at a start from idle and ends when its count ends (the alert begins), or at a
// reset or a move while it runs; times are local HH:MM:SS, lengths in seconds.
std::string RunReport(std::string_view logText, const std::vector<ShowSegment>& show);

}  // namespace tallyglass
