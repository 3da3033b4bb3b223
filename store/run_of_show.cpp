#include "store/run_of_show.h"

#include "base/duration_text.h"
#include "base/text_scan.h"
#include "store/settings_merge.h"

namespace tallyglass {

namespace {
void Skip(RunOfShow& show, size_t lineNumber, std::string_view line, const char* why) {
    if (show.linesSkipped++ > 0) return;
    show.firstProblem =
        "line " + std::to_string(lineNumber) + ", \"" + std::string(CutToCodePoints(line, 40)) + "\": " + why;
}

void TakeLine(RunOfShow& show, const SettingsFileLine& line) {
    if (line.kind == SettingsFileLine::Kind::Other)
        return Skip(show, line.number, line.text, line.text.find('=') == 0 ? "no name" : "not name = length");
    // "20m @ 09:30": the length, then when it is planned to start.
    const size_t at = line.value.find('@');
    const auto seconds = ParseDuration(Trim(line.value.substr(0, at)));
    if (!seconds) return Skip(show, line.number, line.text, "not a length");
    std::optional<int32_t> plannedStart;
    if (at != std::string_view::npos && !(plannedStart = ParseTimeOfDay(Trim(line.value.substr(at + 1)))))
        return Skip(show, line.number, line.text, "not a time of day after @");
    if (show.segments.size() == kMaxSegments) return Skip(show, line.number, line.text, "more than 200 segments");
    // Never half of a character: a name cut in a UTF-8 sequence would not draw.
    show.segments.push_back(
        {std::string(CutToCodePoints(line.name, kMaxSegmentNameCodePoints)), *seconds, plannedStart});
}
}  // namespace

SegmentNameProblem SegmentNameProblemOf(std::string_view name) {
    name = Trim(name);
    if (name.empty()) return SegmentNameProblem::Empty;
    if (CutToCodePoints(name, kMaxSegmentNameCodePoints).size() < name.size()) return SegmentNameProblem::TooLong;
    // The section reads "name = length" by the store's line rules: an "=" would cut the
    // name, a "[" could read as a header, ";" or "#" first as a comment, a line break or a
    // NUL would end the line, and a byte-order mark first is skipped as the file's own.
    if (name.find_first_of(std::string_view("=[\r\n\0", 5)) != std::string_view::npos || name.front() == ';' ||
        name.front() == '#' || name.substr(0, 3) == "\xEF\xBB\xBF")
        return SegmentNameProblem::HasMark;
    return SegmentNameProblem::None;
}

RunOfShow ParseRunOfShow(std::string_view text) {
    RunOfShow show;
    bool inShow = false;
    // Read by the store's own rules, so that the show ends where the store's
    // next section begins and a merge at exit never moves a line into it.
    for (const SettingsFileLine& line : ReadSettingsFileLines(text)) {
        if (line.kind == SettingsFileLine::Kind::Header) {
            inShow = EqualsNoCase(line.name, "show");
            show.sectionFound |= inShow;
        } else if (inShow && line.kind != SettingsFileLine::Kind::Blank) {
            TakeLine(show, line);
        }
    }
    return show;
}

std::string DescribeRunOfShow(const RunOfShow& show) {
    if (!show.sectionFound) return {};
    std::string text =
        "Run of show: " + std::to_string(show.segments.size()) + " segment" + (show.segments.size() == 1 ? "" : "s");
    if (show.segments.empty()) text += ", so the clock runs as without one";
    if (show.linesSkipped > 0)
        text += "; " + std::to_string(show.linesSkipped) + " line" + (show.linesSkipped == 1 ? "" : "s") +
                " not used (" + show.firstProblem + ")";
    return text + ".";
}

}  // namespace tallyglass
