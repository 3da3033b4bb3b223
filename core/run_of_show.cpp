#include "core/run_of_show.h"

#include "core/duration_text.h"
#include "core/text_scan.h"

namespace {
bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Never half of a character: a name cut in a UTF-8 sequence would not draw.
std::string CutToCodePoints(std::string_view text, size_t most) {
    size_t codePoints = 0;
    for (size_t i = 0; i < text.size(); ++i)
        if (!IsContinuationByte(text[i]) && ++codePoints > most) return std::string(text.substr(0, i));
    return std::string(text);
}

// "[ show ]" and "[Show]" both name the section; the file's other parser trims too.
bool IsHeader(std::string_view line, std::string_view& name) {
    if (line.empty() || line.front() != '[') return false;
    const size_t close = line.find(']');
    name = Trim(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
    return true;
}

// LF, and a CR on its own: CR LF counts once, at its LF, and a NUL not at all.
bool EndsEditorLine(std::string_view text, size_t end) {
    return text[end] == '\n' || (text[end] == '\r' && text.compare(end, 2, "\r\n") != 0);
}

void Skip(RunOfShow& show, size_t lineNumber, std::string_view line, const char* why) {
    if (show.linesSkipped++ > 0) return;
    show.firstProblem = "line " + std::to_string(lineNumber) + ", \"" + CutToCodePoints(line, 40) + "\": " + why;
}

void TakeLine(RunOfShow& show, size_t lineNumber, std::string_view line) {
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) return Skip(show, lineNumber, line, "not name = length");
    const std::string_view name = Trim(line.substr(0, equals));
    if (name.empty()) return Skip(show, lineNumber, line, "no name");
    const auto seconds = ParseDuration(Trim(line.substr(equals + 1)));
    if (!seconds) return Skip(show, lineNumber, line, "not a length");
    if (show.segments.size() == kMaxSegments) return Skip(show, lineNumber, line, "more than 200 segments");
    show.segments.push_back({CutToCodePoints(name, kMaxSegmentNameCodePoints), *seconds});
}
}  // namespace

RunOfShow ParseRunOfShow(std::string_view text) {
    RunOfShow show;
    bool inShow = false;
    size_t lineNumber = 1;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    while (!text.empty()) {
        // Lines end where the store's parser ends them (CR, LF or NUL), so that
        // both see the same sections; About counts lines as an editor does.
        const size_t end = text.find_first_of(std::string_view("\r\n\0", 3));
        const std::string_view line = Trim(text.substr(0, end));
        const size_t thisLine = lineNumber;
        if (end != std::string_view::npos && EndsEditorLine(text, end)) ++lineNumber;
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        std::string_view section;
        if (IsHeader(line, section)) {
            inShow = EqualsNoCase(section, "show");
            show.sectionFound |= inShow;
            continue;
        }
        if (!inShow || line.empty() || line.front() == ';' || line.front() == '#') continue;
        TakeLine(show, thisLine, line);
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
