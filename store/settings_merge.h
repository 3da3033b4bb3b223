#pragma once
// Merging what the clock wrote into the settings file as it is on disk at exit,
// so that edits made in an editor while the clock ran survive the save.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/run_of_show.h"
#include "store/settings_store.h"

namespace tallyglass {

// A line of the settings file as the store reads it (and the merge edits it).
struct SettingsFileLine {
    enum class Kind { Blank, Header, Key, Other };  // Blank: empty or a comment
    Kind kind = Kind::Blank;
    std::string_view name;   // the section's or the key's
    std::string_view value;  // the key's, without the blanks around it
    std::string_view text;   // the whole line without its ending and leading blanks
    size_t number = 1;       // as an editor counts lines
};

// Every line of the file, in order, split and read by the store's rules: other
// readers of the file see the same sections as the store and the merge.
std::vector<SettingsFileLine> ReadSettingsFileLines(std::string_view file);

// Keys the clock set since the last save, in the order first set, with the
// value text as the store holds it.
using WrittenKeys = std::vector<std::pair<std::string, std::string>>;

// Records a key's newest value; a key set again keeps its first place.
void NoteWrittenKey(WrittenKeys& written, std::string_view key, std::string value);

// The disk text with the written keys set and every other line, comment,
// unknown key and the order of lines kept. Nothing when the disk text is too
// large to be a settings file: such a file is never rewritten.
std::optional<std::string> MergeWrittenKeys(std::string_view diskText, const WrittenKeys& written);

// The disk text with its run of show replaced: the [show] section's segment lines
// (and lines it could not read) give way to one "name = length" line per segment, in
// order, where its first segment line stood (or under its header); its header, its
// comments and every other section stay byte for byte. Without a section, one is added
// at the end. Nothing when the disk text is too large to be a settings file.
std::optional<std::string> MergeShow(std::string_view diskText, const std::vector<ShowSegment>& segments);

// A file for a store that is gone: every key with its default (the local ones
// where given), then the written keys over them.
std::string FreshSettingsText(const WrittenKeys& written, const LocalDefaults& localDefaults = {});

}  // namespace tallyglass
