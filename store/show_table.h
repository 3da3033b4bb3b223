#pragma once
// A running order from a spreadsheet: CSV or tab-separated text as one exports it, UTF-8
// with or without a byte-order mark. Each row is a segment (a name, a length as the
// clock reads it, a planned start or none); a row that is not is named with its line.
//
// A first row that holds a column word and no length is a header, and says where the
// columns are, in any order and any case: name, title, segment or 名称; length, duration
// or 时长 (or minutes or 分钟, where a plain number is minutes); start, time or 开始.
// Other columns are ignored. Without a header the columns are name, length and start.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/ui_language.h"
#include "store/run_of_show.h"

namespace tallyglass {

// A running order of 200 rows, with a column of notes, is some tens of KiB: a file
// beyond this is no export of one, and is refused before it is read or parsed.
constexpr size_t kMaxShowTableBytes = size_t{1} << 20;
// A header's column words are looked for among its first columns only.
constexpr size_t kMaxShowTableColumns = 64;
// Rows not taken that are named; the rest are only counted.
constexpr size_t kKeptRowProblems = 5;

enum class RowProblem {
    TooLarge,        // the whole file, as each below
    FileMissing,     // the Windows side's, when it reads the file
    FileInUse,       //
    FileNotRead,     // the cell holds the system's error number
    NotUtf8,         // from that line on
    NoRows,          // the whole file: not one row but blank ones and a header
    NoNameColumn,    // the header's line
    NoLengthColumn,  //
    NameEmpty,
    NameTooLong,
    NameHasMark,
    NotALength,
    NotATimeOfDay,
    TooManyRows,  // the first row beyond kMaxSegments; it and the rows after are not taken
};

struct ShowTableProblem {
    size_t line = 0;  // where the row begins, as an editor counts; 0 for the whole file
    RowProblem why = RowProblem::FileNotRead;
    std::string cell = {};  // the text at fault, at most 40 characters
};

struct ShowTable {
    std::vector<ShowSegment> segments;       // at most kMaxSegments
    std::vector<ShowTableProblem> problems;  // the first kKeptRowProblems
    size_t rowsNotTaken = 0;                 // every row not taken, named or not
};

ShowTable ReadShowTable(std::string_view bytes);

// The first `most` problems, one a line ("line 4, "soon": not a length"), and how many
// more rows were not taken, in the language given.
std::string DescribeShowTableProblems(const ShowTable& table, UiLanguage language, size_t most);

}  // namespace tallyglass
