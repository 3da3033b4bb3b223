#include "store/csv_records.h"

namespace tallyglass {

namespace {
bool IsLineBreak(char c) { return c == '\n' || c == '\r'; }
}  // namespace

char GuessSeparator(std::string_view text) {
    constexpr char kSeparators[] = {'\t', ';', ','};
    size_t counts[3] = {};
    bool quoted = false;
    for (const char c : text) {
        if (c == '"') quoted = !quoted;  // a doubled quote turns it back at once
        if (quoted) continue;
        if (IsLineBreak(c) && counts[0] + counts[1] + counts[2] > 0) break;
        for (size_t i = 0; i < 3; ++i) counts[i] += c == kSeparators[i] ? 1 : 0;
    }
    size_t best = 0;
    for (size_t i = 1; i < 3; ++i)
        if (counts[i] > counts[best]) best = i;
    return counts[best] > 0 ? kSeparators[best] : ',';
}

// CR LF is one line break, as are a lone CR and a lone LF.
void CsvReader::StepOverLineBreak() {
    m_at += m_text.compare(m_at, 2, "\r\n") == 0 ? 2 : 1;
    ++m_line;
}

// One field from where the reader stands, kept in `field` unless that is null; true
// when it ended its record (or the text).
bool CsvReader::ReadField(std::string* field) {
    // Some writers put a blank after the separator, before the quote that opens a field.
    size_t first = m_at;
    while (first < m_text.size() && m_text[first] == ' ') ++first;
    bool quoted = first < m_text.size() && m_text[first] == '"';
    if (quoted) m_at = first + 1;
    while (m_at < m_text.size()) {
        const char c = m_text[m_at];
        if (quoted && c == '"') {
            // A doubled quote stands for one; a single one closes the quotes, and what
            // follows it up to the separator is kept as it is.
            quoted = m_text.compare(m_at, 2, "\"\"") == 0;
            if (quoted && field) *field += '"';
            m_at += quoted ? 2 : 1;
        } else if (IsLineBreak(c)) {
            const size_t begin = m_at;
            StepOverLineBreak();
            if (!quoted) return true;
            if (field) *field += m_text.substr(begin, m_at - begin);
        } else if (!quoted && c == m_separator) {
            ++m_at;
            return false;
        } else {
            if (field) *field += c;
            ++m_at;
        }
    }
    return true;
}

std::vector<std::string> CsvReader::NextRecord(size_t most) {
    std::vector<std::string> fields;
    m_recordLine = m_line;
    for (size_t count = 0;; ++count) {
        if (count < most) fields.emplace_back();
        if (ReadField(count < most ? &fields.back() : nullptr)) return fields;
    }
}

std::string CsvField(std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(field);
    std::string quoted = "\"";
    for (const char c : field) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

}  // namespace tallyglass
