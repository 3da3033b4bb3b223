// A running order read from any bytes: never a crash, never more than it may hold;
// every segment it gives is one the settings window could have typed, and written
// into the [show] section it reads back the same.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "store/run_of_show.h"
#include "store/settings_merge.h"
#include "store/show_table.h"

using namespace tallyglass;

namespace {
bool Sound(const ShowSegment& segment) {
    return SegmentNameProblemOf(segment.name) == SegmentNameProblem::None && segment.seconds > 0 &&
           (!segment.plannedStart || (*segment.plannedStart >= 0 && *segment.plannedStart < 86400));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ShowTable table = ReadShowTable(std::string_view(reinterpret_cast<const char*>(data), size));
    if (table.segments.size() > kMaxSegments || table.problems.size() > kKeptRowProblems ||
        table.problems.size() > table.rowsNotTaken || (table.segments.empty() && table.problems.empty()))
        std::abort();
    for (const ShowSegment& segment : table.segments)
        if (!Sound(segment)) std::abort();
    const auto merged = MergeShow("[settings]\ntitle = Hall\n[show]\nOld = 1m\n", table.segments);
    if (!merged || ParseRunOfShow(*merged).segments != table.segments) std::abort();
    for (const UiLanguage language : {UiLanguage::English, UiLanguage::Chinese})
        if (table.rowsNotTaken > 0 && DescribeShowTableProblems(table, language, kKeptRowProblems).empty())
            std::abort();
    return 0;
}
