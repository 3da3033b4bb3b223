#include "store/show_table.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "base/duration_text.h"
#include "base/text_scan.h"
#include "store/csv_records.h"

namespace tallyglass {

namespace {
constexpr size_t kNoColumn = SIZE_MAX;

enum class Role { Name, Length, Minutes, Start };
constexpr struct {
    std::string_view word;
    Role role;
} kColumnWords[] = {
    {"name", Role::Name},     {"title", Role::Name},      {"segment", Role::Name}, {"名称", Role::Name},
    {"length", Role::Length}, {"duration", Role::Length}, {"时长", Role::Length},  {"minutes", Role::Minutes},
    {"分钟", Role::Minutes},  {"start", Role::Start},     {"time", Role::Start},   {"开始", Role::Start},
};

struct Columns {
    size_t name = 0, length = 1, start = 2;
    bool minutes = false;  // a plain number in the length column is minutes
    size_t Width() const { return std::max({name, length, start == kNoColumn ? 0 : start}) + 1; }
};

std::optional<Role> RoleOf(std::string_view cell) {
    for (const auto& [word, role] : kColumnWords)
        if (EqualsNoCase(Trim(cell), word)) return role;
    return std::nullopt;
}

// A row "Title, 20m" is a segment: a header names a column and holds no length.
bool IsHeader(const std::vector<std::string>& row) {
    bool named = false;
    for (const std::string& cell : row) {
        if (ParseDuration(Trim(cell))) return false;
        named = named || RoleOf(cell);
    }
    return named;
}

// The first column of each kind the header names.
Columns ColumnsOf(const std::vector<std::string>& header) {
    Columns columns{kNoColumn, kNoColumn, kNoColumn};
    for (size_t i = header.size(); i-- > 0;) {
        const auto role = RoleOf(header[i]);
        if (role == Role::Name) columns.name = i;
        if (role == Role::Start) columns.start = i;
        if (role == Role::Length || role == Role::Minutes) {
            columns.length = i;
            columns.minutes = role == Role::Minutes;
        }
    }
    return columns;
}

bool IsBlankRow(const std::vector<std::string>& row) {
    return std::all_of(row.begin(), row.end(), [](const std::string& cell) { return Trim(cell).empty(); });
}

std::string_view Cell(const std::vector<std::string>& row, size_t column) {
    return column < row.size() ? Trim(row[column]) : std::string_view();
}

// A line break in a cell (Alt+Enter in a spreadsheet) becomes a blank: a name is one line.
std::string OneLineName(std::string_view cell) {
    std::string name;
    for (const char c : cell) {
        if (c != '\r' && c != '\n')
            name += c;
        else if (name.back() != ' ')  // a trimmed cell never begins with a line break
            name += ' ';
    }
    return name;
}

std::optional<int32_t> LengthOf(std::string_view cell, bool minutes) {
    const bool plainNumber =
        !cell.empty() && std::all_of(cell.begin(), cell.end(), [](char c) { return c >= '0' && c <= '9'; });
    return minutes && plainNumber ? ParseDuration(std::string(cell) + "m") : ParseDuration(cell);
}

// The line of the first byte that is not UTF-8 (a sheet saved in a local code page); 0
// when every byte is.
size_t FirstLineNotUtf8(std::string_view text) {
    size_t line = 1;
    for (size_t at = 0; at < text.size();) {
        const Utf8Char c = DecodeUtf8At(text, at);
        if (c.codePoint == 0xFFFD && c.length == 1) return line;
        line += c.codePoint == '\n' || (c.codePoint == '\r' && text.compare(at + 1, 1, "\n") != 0) ? 1 : 0;
        at += c.length;
    }
    return 0;
}

void Refuse(ShowTable& table, size_t line, RowProblem why, std::string_view cell = {}) {
    ++table.rowsNotTaken;
    if (table.problems.size() < kKeptRowProblems)
        table.problems.push_back({line, why, std::string(CutToCodePoints(cell, 40))});
}

RowProblem NameProblem(SegmentNameProblem problem) {
    return problem == SegmentNameProblem::Empty     ? RowProblem::NameEmpty
           : problem == SegmentNameProblem::TooLong ? RowProblem::NameTooLong
                                                    : RowProblem::NameHasMark;
}

void TakeRow(ShowTable& table, const std::vector<std::string>& row, const Columns& columns, size_t line) {
    const std::string name = OneLineName(Cell(row, columns.name));
    if (const SegmentNameProblem problem = SegmentNameProblemOf(name); problem != SegmentNameProblem::None)
        return Refuse(table, line, NameProblem(problem), name);
    const std::string_view length = Cell(row, columns.length), start = Cell(row, columns.start);
    const auto seconds = LengthOf(length, columns.minutes);
    if (!seconds) return Refuse(table, line, RowProblem::NotALength, length);
    const auto plannedStart = ParseTimeOfDay(start);
    if (!plannedStart && !start.empty()) return Refuse(table, line, RowProblem::NotATimeOfDay, start);
    table.segments.push_back({name, *seconds, plannedStart});
}

// The columns the first row gives: a header's (false when it lacks names or lengths,
// which is said), else name, length and start in that order.
bool TakeFirstRow(ShowTable& table, const std::vector<std::string>& row, size_t line, Columns& columns) {
    if (!IsHeader(row)) {
        TakeRow(table, row, columns, line);
        return true;
    }
    columns = ColumnsOf(row);
    if (columns.name == kNoColumn) Refuse(table, line, RowProblem::NoNameColumn);
    if (columns.name != kNoColumn && columns.length == kNoColumn) Refuse(table, line, RowProblem::NoLengthColumn);
    return columns.name != kNoColumn && columns.length != kNoColumn;
}
}  // namespace

ShowTable ReadShowTable(std::string_view bytes) {
    ShowTable table;
    if (bytes.size() > kMaxShowTableBytes) return Refuse(table, 0, RowProblem::TooLarge), table;
    if (bytes.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark)
        bytes.remove_prefix(kUtf8ByteOrderMark.size());
    if (const size_t line = FirstLineNotUtf8(bytes)) return Refuse(table, line, RowProblem::NotUtf8), table;
    CsvReader reader(bytes, GuessSeparator(bytes));
    std::optional<Columns> columns;
    bool beyond = false;
    while (!reader.AtEnd()) {
        const std::vector<std::string> row = reader.NextRecord(columns ? columns->Width() : kMaxShowTableColumns);
        const size_t line = reader.RecordLine();
        if (IsBlankRow(row)) continue;
        if (!columns) {
            if (!TakeFirstRow(table, row, line, columns.emplace())) return table;
        } else if (table.segments.size() < kMaxSegments) {
            TakeRow(table, row, *columns, line);
        } else if (!std::exchange(beyond, true)) {
            Refuse(table, line, RowProblem::TooManyRows);
        } else {
            ++table.rowsNotTaken;
        }
    }
    if (table.segments.empty() && table.rowsNotTaken == 0) Refuse(table, 0, RowProblem::NoRows);
    return table;
}

}  // namespace tallyglass
