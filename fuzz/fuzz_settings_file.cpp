// The merge at exit, on any text: the input is a few keys the clock wrote
// followed by the text on disk. The result differs from the disk text only in
// the written keys' lines (changed in place, or added with a section header
// where there was none); every written key reads back with its value, every
// other key as the disk text had it; merging again changes nothing. The run of
// show read from any text stays within its bounds, and the merge leaves it as it was.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "store/run_of_show.h"
#include "store/settings_merge.h"
#include "store/settings_store.h"

using namespace tallyglass;

namespace {
// The keys the clock writes at exit.
constexpr const char* kWrittenKeys[] = {"nobg",       "wavalert",     "alertcenter", "fsizenormal", "fsizealert",
                                        "djsseconds", "alertseconds", "posleft",     "postop"};

WrittenKeys TakeWrittenKeys(std::string_view& input) {
    WrittenKeys written;
    if (input.empty()) return written;
    const size_t count = static_cast<unsigned char>(input.front()) % 4;
    input.remove_prefix(1);
    for (size_t i = 0; i < count && input.size() >= 5; ++i) {
        const char* key = kWrittenKeys[static_cast<unsigned char>(input[0]) % 9];
        uint32_t bits = 0;
        for (int b = 1; b <= 4; ++b) bits = bits << 8 | static_cast<unsigned char>(input[b]);
        NoteWrittenKey(written, key, std::to_string(static_cast<int32_t>(bits)));
        input.remove_prefix(5);
    }
    return written;
}

// Lines with their endings, split as a Windows editor and the store see them.
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        size_t end = text.find_first_of(std::string_view("\r\n\0", 3));
        end = end == std::string_view::npos ? text.size() : end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end);
    }
    return lines;
}

// A line that sets one of the written keys: the key's name, in any case, after
// blanks and byte-order marks, then blanks and "=".
bool SetsWrittenKey(std::string_view line, const WrittenKeys& written) {
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t' || line.substr(0, 3) == "\xEF\xBB\xBF"))
        line.remove_prefix(line.front() == '\xEF' ? 3 : 1);
    for (const auto& entry : written) {
        const std::string& key = entry.first;
        if (line.size() <= key.size()) continue;
        bool same = true;
        for (size_t i = 0; i < key.size(); ++i) same = same && (line[i] | 0x20) == key[i];
        size_t at = key.size();
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
        if (same && at < line.size() && line[at] == '=') return true;
    }
    return false;
}

// The text without the lines that set a written key or open [settings]: what a
// merge must leave byte for byte.
std::string Unwritten(std::string_view text, const WrittenKeys& written) {
    std::string kept;
    for (std::string_view line : Lines(text))
        if (!SetsWrittenKey(line, written) && line.substr(0, 10) != "[settings]") kept += line;
    return kept;
}

bool OnlyWrittenLinesDiffer(std::string_view disk, std::string_view merged, const WrittenKeys& written) {
    const std::string before = Unwritten(disk, written), after = Unwritten(merged, written);
    // The file's last line, when it had no ending, gets one if lines follow it.
    const std::string_view added = std::string_view(after).substr(std::min(before.size(), after.size()));
    return after.compare(0, before.size(), before) == 0 &&
           (added.empty() || added == "\r\n" || added == "\n" || added == "\r");
}

bool SameSegments(const RunOfShow& a, const RunOfShow& b) {
    return std::equal(
        a.segments.begin(), a.segments.end(), b.segments.begin(), b.segments.end(),
        [](const ShowSegment& x, const ShowSegment& y) { return x.name == y.name && x.seconds == y.seconds; });
}

void CheckRunOfShow(std::string_view disk, std::string_view merged) {
    const RunOfShow show = ParseRunOfShow(disk);
    if (show.segments.size() > kMaxSegments) std::abort();
    for (const ShowSegment& segment : show.segments)
        if (segment.name.empty() || segment.name.size() > 4 * kMaxSegmentNameCodePoints || segment.seconds <= 0)
            std::abort();
    if (!SameSegments(show, ParseRunOfShow(merged))) std::abort();
}

void CheckMerge(std::string_view input) {
    const WrittenKeys written = TakeWrittenKeys(input);
    const auto merged = MergeWrittenKeys(input, written);
    if (!merged) return;
    if (!OnlyWrittenLinesDiffer(input, *merged, written)) std::abort();
    SettingsStore disk, after;
    disk.Load(input);
    after.Load(*merged);
    for (const auto& [key, value] : written)
        if (after.GetText(key) != value) std::abort();
    for (const auto& key : SettingKeys())
        if (std::none_of(written.begin(), written.end(), [&](const auto& w) { return w.first == key.name; }) &&
            after.GetText(key.name) != disk.GetText(key.name))
            std::abort();
    if (MergeWrittenKeys(*merged, written) != merged) std::abort();
    CheckRunOfShow(input, *merged);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckMerge(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
