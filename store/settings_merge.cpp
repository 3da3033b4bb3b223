#include "store/settings_merge.h"

#include <algorithm>

#include "base/duration_text.h"
#include "base/text_scan.h"
#include "store/setting_keys.h"
#include "store/settings_store.h"

namespace tallyglass {

namespace {

// One line of the file as the store reads it: where its text and its ending
// lie, and what it is. The store ends a line at LF, CR or NUL and ignores
// leading blanks and byte-order marks; so does this.
struct FileLine {
    enum class Kind { Other, Header, Key };
    size_t begin = 0;
    size_t textEnd = 0;
    size_t end = 0;  // after the line's ending, if it has one
    Kind kind = Kind::Other;
    std::string_view name;  // the section's or the key's
    size_t valueBegin = 0;  // the key's value, without the blanks around it
    size_t valueEnd = 0;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view WithoutTrailingBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string_view WithoutBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    return WithoutTrailingBlanks(text);
}

// Comments, blank lines, a header without its "]" and a line without "=" are
// all "Other": the store reads nothing from them and the merge keeps them.
void Classify(std::string_view file, FileLine& line) {
    const std::string_view text = WithoutLeadingMarksAndBlanks(file.substr(line.begin, line.textEnd - line.begin));
    if (text.empty() || text.front() == ';' || text.front() == '#') return;
    if (text.front() == '[') {
        const size_t close = text.find(']');
        if (close == std::string_view::npos) return;
        line.kind = FileLine::Kind::Header;
        line.name = WithoutBlanks(text.substr(1, close - 1));
        return;
    }
    const size_t equals = text.find('=');
    const std::string_view name = WithoutTrailingBlanks(text.substr(0, std::min(equals, text.size())));
    if (equals == std::string_view::npos || name.empty()) return;
    const size_t textStart = static_cast<size_t>(text.data() - file.data());
    std::string_view value = text.substr(equals + 1);
    while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
    value = WithoutTrailingBlanks(value);
    line.kind = FileLine::Kind::Key;
    line.name = name;
    line.valueBegin = value.empty() ? textStart + equals + 1 : static_cast<size_t>(value.data() - file.data());
    line.valueEnd = line.valueBegin + value.size();
}

std::vector<FileLine> SplitLines(std::string_view file) {
    std::vector<FileLine> lines;
    size_t start = 0;
    while (start < file.size()) {
        FileLine line;
        line.begin = start;
        line.textEnd = file.find_first_of(std::string_view("\n\r\0", 3), start);
        if (line.textEnd == std::string_view::npos) line.textEnd = file.size();
        line.end = line.textEnd;
        if (line.end < file.size()) line.end += file.compare(line.end, 2, "\r\n") == 0 ? 2 : 1;
        Classify(file, line);
        lines.push_back(line);
        start = line.end;
    }
    return lines;
}

// New lines end as the line they follow does, else as the file's first line does
// (Windows' way in a file without one); never in a lone CR before an LF, which
// would make one ending of the two and take a blank line away.
std::string_view LineEnding(std::string_view file, const std::vector<FileLine>& lines, size_t after) {
    const FileLine* line = after < lines.size() ? &lines[after] : nullptr;
    if (line && line->end > line->textEnd && file[line->textEnd] != '\0')
        return file.substr(line->textEnd, line->end - line->textEnd);
    const size_t at = file.find_first_of("\r\n");
    if (at == std::string_view::npos) return "\r\n";
    if (file.compare(at, 2, "\r\n") == 0) return "\r\n";
    if (file[at] == '\r' && line && line->end < file.size() && file[line->end] == '\n') return "\r\n";
    return file.substr(at, 1);
}

// Where each key stands: the store reads a key from [settings] first, then from
// before any header, and the last of a repeated key wins. A header of blanks
// only names the same place as no header at all.
struct KeyPlaces {
    std::vector<std::pair<std::string_view, size_t>> inSection, loose;
    size_t sectionEnd = SIZE_MAX;  // the line after which a new key goes

    std::optional<size_t> Find(std::string_view key) const {
        for (const auto* keys : {&inSection, &loose})
            for (auto it = keys->rbegin(); it != keys->rend(); ++it)
                if (EqualsNoCase(it->first, key)) return it->second;
        return std::nullopt;
    }
};

KeyPlaces PlaceKeys(const std::vector<FileLine>& lines) {
    KeyPlaces places;
    bool inSection = false, loose = true;
    for (size_t i = 0; i < lines.size(); ++i) {
        const FileLine& line = lines[i];
        if (line.kind == FileLine::Kind::Header) {
            inSection = EqualsNoCase(line.name, kSettingsSection);
            loose = line.name.empty();
            if (inSection && places.inSection.empty()) places.sectionEnd = i;
        } else if (line.kind == FileLine::Kind::Key && (inSection || loose)) {
            (inSection ? places.inSection : places.loose).emplace_back(line.name, i);
            if (inSection) places.sectionEnd = i;
        }
    }
    return places;
}

std::string OneLine(std::string value) {
    std::replace_if(
        value.begin(), value.end(), [](char c) { return c == '\r' || c == '\n' || c == '\0'; }, ' ');
    return value;
}

std::string Apply(std::string_view file, const WrittenKeys& written) {
    const std::vector<FileLine> lines = SplitLines(file);
    const KeyPlaces places = PlaceKeys(lines);
    const size_t addAfter = places.sectionEnd == SIZE_MAX ? lines.size() - 1 : places.sectionEnd;
    const std::string_view ending = LineEnding(file, lines, addAfter);
    std::vector<std::optional<std::string>> replaced(lines.size());
    std::string added;
    for (const auto& [key, value] : written) {
        if (const auto at = places.Find(key)) {
            const FileLine& line = lines[*at];
            replaced[*at] = std::string(file.substr(line.begin, line.valueBegin - line.begin)) + OneLine(value) +
                            std::string(file.substr(line.valueEnd, line.end - line.valueEnd));
        } else {
            added += key + " = " + OneLine(value) + std::string(ending);
        }
    }
    if (!added.empty() && places.sectionEnd == SIZE_MAX)
        added = "[" + std::string(kSettingsSection) + "]" + std::string(ending) + added;

    std::string out;
    out.reserve(file.size() + added.size() + 64);
    if (lines.empty()) out += added;
    for (size_t i = 0; i < lines.size(); ++i) {
        const FileLine& line = lines[i];
        out += replaced[i] ? *replaced[i] : std::string(file.substr(line.begin, line.end - line.begin));
        if (i != addAfter || added.empty()) continue;
        if (line.end == line.textEnd) out += ending;  // the file's last line had no ending
        out += added;
    }
    return out;
}

bool IsComment(std::string_view file, const FileLine& line) {
    const std::string_view text = WithoutLeadingMarksAndBlanks(file.substr(line.begin, line.textEnd - line.begin));
    return text.empty() || text.front() == ';' || text.front() == '#';
}

std::string ShowLines(const std::vector<ShowSegment>& segments, std::string_view ending) {
    std::string lines;
    for (const ShowSegment& segment : segments)
        lines += OneLine(segment.name) + " = " + FormatDuration(segment.seconds) +
                 (segment.plannedStart ? " @ " + FormatTimeOfDay(*segment.plannedStart) : "") + std::string(ending);
    return lines;
}

std::string ReplaceShow(std::string_view file, const std::vector<ShowSegment>& segments) {
    const std::vector<FileLine> lines = SplitLines(file);
    std::vector<bool> dropped(lines.size());
    std::optional<size_t> firstHeader, insertBefore;
    bool inShow = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind == FileLine::Kind::Header) {
            inShow = EqualsNoCase(lines[i].name, "show");
            if (inShow && !firstHeader) firstHeader = i;
        } else if (inShow && !IsComment(file, lines[i])) {
            dropped[i] = true;
            if (!insertBefore) insertBefore = i;
        }
    }
    const size_t at = insertBefore ? *insertBefore : firstHeader ? *firstHeader + 1 : lines.size();
    const std::string_view ending = LineEnding(file, lines, lines.empty() ? 0 : std::min(at, lines.size() - 1));
    std::string out;
    for (size_t i = 0; i <= lines.size(); ++i) {
        if (i == at) {
            // A last line without an ending gets one before anything follows it.
            if (i > 0 && lines[i - 1].end == lines[i - 1].textEnd) out += ending;
            if (!firstHeader) out += "[show]" + std::string(ending);
            out += ShowLines(segments, ending);
        }
        if (i < lines.size() && !dropped[i]) out += file.substr(lines[i].begin, lines[i].end - lines[i].begin);
    }
    return out;
}

std::string ApplyToStore(SettingsStore& store, const WrittenKeys& written) {
    for (const auto& [key, value] : written) store.SetText(key, value);
    return store.Serialize();
}
}  // namespace

void NoteWrittenKey(WrittenKeys& written, std::string_view key, std::string value) {
    const auto known =
        std::find_if(written.begin(), written.end(), [&](const auto& entry) { return entry.first == key; });
    if (known != written.end())
        known->second = std::move(value);
    else
        written.emplace_back(std::string(key), std::move(value));
}

std::vector<SettingsFileLine> ReadSettingsFileLines(std::string_view file) {
    std::vector<SettingsFileLine> read;
    size_t number = 1;
    for (const FileLine& line : SplitLines(file)) {
        SettingsFileLine out;
        out.text = WithoutLeadingMarksAndBlanks(file.substr(line.begin, line.textEnd - line.begin));
        out.name = line.name;
        out.number = number;
        if (line.kind == FileLine::Kind::Key) out.value = file.substr(line.valueBegin, line.valueEnd - line.valueBegin);
        const bool blank = out.text.empty() || out.text.front() == ';' || out.text.front() == '#';
        out.kind = line.kind == FileLine::Kind::Header ? SettingsFileLine::Kind::Header
                   : line.kind == FileLine::Kind::Key  ? SettingsFileLine::Kind::Key
                   : blank                             ? SettingsFileLine::Kind::Blank
                                                       : SettingsFileLine::Kind::Other;
        // CR LF counts once, at its LF; a NUL ends a line for the store but not for an editor.
        const bool endsEditorLine = line.end > line.textEnd && file[line.end - 1] != '\0';
        number += endsEditorLine ? 1 : 0;
        read.push_back(out);
    }
    return read;
}

std::optional<std::string> MergeWrittenKeys(std::string_view diskText, const WrittenKeys& written) {
    if (diskText.size() > kMaxSettingsFileBytes) return std::nullopt;
    return Apply(diskText, written);
}

std::optional<std::string> MergeShow(std::string_view diskText, const std::vector<ShowSegment>& segments) {
    const bool settingsFile = diskText.size() <= kMaxSettingsFileBytes;
    return settingsFile ? std::optional<std::string>(ReplaceShow(diskText, segments)) : std::nullopt;
}

std::string FreshSettingsText(const WrittenKeys& written, const LocalDefaults& localDefaults) {
    SettingsStore store;
    store.SetLocalDefaults(localDefaults);
    store.AddMissingDefaults();
    return ApplyToStore(store, written);
}

}  // namespace tallyglass
