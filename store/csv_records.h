#pragma once
// Text as a spreadsheet exports it: records of fields split by a comma, a semicolon or
// a tab; a field quoted with '"' may hold the separator and line breaks, and a doubled
// quote inside it stands for one. A record ends at LF, CR LF or a lone CR.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tallyglass {

// The separator of the first record that holds one: whichever of tab, semicolon and
// comma it holds most of outside quotes. A tie goes to tab, then to semicolon: a name
// with a comma in it is more common than one with a semicolon. A comma when none is held.
char GuessSeparator(std::string_view text);

// A field as a spreadsheet reads it back: quoted, with its quotes doubled, when it holds a
// comma, a quote or a line break.
std::string CsvField(std::string_view field);

class CsvReader {
public:
    CsvReader(std::string_view text, char separator) : m_text(text), m_separator(separator) {}
    bool AtEnd() const { return m_at >= m_text.size(); }
    // The next record's first `most` fields; the rest are read past and not kept, so
    // that a hostile row of a million separators costs no memory.
    std::vector<std::string> NextRecord(size_t most);
    // The line the last record read began on, as an editor counts them from 1.
    size_t RecordLine() const { return m_recordLine; }

private:
    bool ReadField(std::string* field);
    void StepOverLineBreak();

    std::string_view m_text;
    char m_separator;
    size_t m_at = 0;
    size_t m_line = 1;
    size_t m_recordLine = 1;
};

}  // namespace tallyglass
