// What a running order's rows not taken are called, in both languages.
#include <algorithm>

#include "store/show_table.h"

namespace tallyglass {

namespace {
struct Words {
    const char* english;
    const char* chinese;
};

constexpr Words kWhy[] = {
    {"the file is over 1 MiB, too large for a running order", "文件超过 1 MiB，不像是流程表"},
    {"there is no such file", "文件不存在"},
    {"another program holds the file open: close it there first", "文件被其他程序占用：请先在那里关闭"},
    {"the file could not be read", "无法读取文件"},
    {"not UTF-8 text: save the sheet as CSV UTF-8", "不是 UTF-8 文本：请将表格另存为 CSV UTF-8"},
    {"the file holds no rows", "文件中没有任何行"},
    {"the header has no column of names (name, title, segment)", "表头没有名称列（名称、name、title、segment）"},
    {"the header has no column of lengths (length, duration, minutes)",
     "表头没有时长列（时长、分钟、length、minutes）"},
    {"no name", "没有名称"},
    {"the name is longer than 80 characters", "名称超过 80 个字符"},
    {"a name cannot hold = or [, nor start with ; or #", "名称不能包含 = 或 [，也不能以 ; 或 # 开头"},
    {"not a length", "不是时长"},
    {"not a time of day", "不是时刻"},
    {"more than 200 segments: this row and those after it are not taken", "超过 200 个环节：此行及以后各行未采用"},
};
static_assert(sizeof kWhy / sizeof kWhy[0] == static_cast<size_t>(RowProblem::TooManyRows) + 1);

std::string Describe(const ShowTableProblem& problem, bool chinese) {
    const Words& why = kWhy[static_cast<size_t>(problem.why)];
    std::string cell = problem.cell;
    // A cell may hold line breaks or a NUL: the message is one line, and whole.
    std::replace_if(
        cell.begin(), cell.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, ' ');
    const char* colon = chinese ? "：" : ": ";
    if (problem.line == 0) return (chinese ? why.chinese : why.english) + (cell.empty() ? "" : colon + cell);
    const std::string line = std::to_string(problem.line);
    std::string text = chinese ? "第 " + line + " 行" : "line " + line;
    if (!cell.empty()) text += chinese ? "，“" + cell + "”" : ", \"" + cell + "\"";
    return text + colon + (chinese ? why.chinese : why.english);
}
}  // namespace

std::string DescribeShowTableProblems(const ShowTable& table, UiLanguage language, size_t most) {
    const bool chinese = language == UiLanguage::Chinese;
    const size_t shown = std::min(most, table.problems.size());
    std::string text;
    for (size_t i = 0; i < shown; ++i) text += (i > 0 ? "\n" : "") + Describe(table.problems[i], chinese);
    if (table.rowsNotTaken <= shown) return text;
    const std::string more = std::to_string(table.rowsNotTaken - shown);
    if (chinese) return text + "\n另有 " + more + " 行未采用";
    return text + "\nand " + more + (table.rowsNotTaken - shown == 1 ? " more row" : " more rows") + " not taken";
}

}  // namespace tallyglass
