#pragma once
// The [show] section of the settings file: a running order of named segments,
// one "name = length" line each, in the order the file gives them. The clock
// only reads it; the store keeps its lines as they are.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallyglass {

struct ShowSegment {
    std::string name;  // UTF-8, trimmed, at most kMaxSegmentNameCodePoints
    int32_t seconds = 0;
    // "Keynote = 20m @ 09:30": when it is planned to start, in seconds since local midnight.
    std::optional<int32_t> plannedStart = std::nullopt;
    bool operator==(const ShowSegment& other) const {
        return name == other.name && seconds == other.seconds && plannedStart == other.plannedStart;
    }
};

struct RunOfShow {
    bool sectionFound = false;
    std::vector<ShowSegment> segments;
    int32_t linesSkipped = 0;  // lines of the section that are not a segment
    std::string firstProblem;  // the first of them and why, for About
};

// Beyond these a section is not a show any presenter runs: the rest is skipped
// and said so, so that a hostile file cannot make the clock slow or its title vast.
constexpr size_t kMaxSegments = 200;
constexpr size_t kMaxSegmentNameCodePoints = 80;

// Why a name cannot stand in the section as it is; None when it can. Every way a show
// is edited or imported checks its names by this one rule.
enum class SegmentNameProblem { None, Empty, TooLong, HasMark };
SegmentNameProblem SegmentNameProblemOf(std::string_view name);

// The whole file's text; nothing but its [show] section (any case) is looked at.
RunOfShow ParseRunOfShow(std::string_view fileText);

// About's line: empty without a [show] section.
std::string DescribeRunOfShow(const RunOfShow& show);

}  // namespace tallyglass
