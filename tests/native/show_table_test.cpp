#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/show_table.h"

using namespace tallyglass;

namespace {
// One running order as each kind of export writes it: Excel's CSV (a byte-order mark,
// CR LF), a semicolon export with its columns in another order, and tab-separated text
// under a Chinese header with minutes and a notes column. Quoted cells hold the
// separator, doubled quotes and a line break; blank rows are skipped.
TEST(ShowTable, EveryExportOfOneRunningOrderGivesTheSameSegments) {
    const std::vector<ShowSegment> wanted{
        {"Welcome, all; hi", 300, 9 * 3600}, {"The \"big\" talk", 1200, std::nullopt}, {"Q&A panel", 600, 35100}};
    const char* exports[] = {
        "\xEF\xBB\xBFName,Length,Start\r\n\"Welcome, all; hi\",5m,09:00\r\n,,\r\n"
        "\"The \"\"big\"\" talk\",20m,\r\n\"Q&A\r\npanel\",0:10:00,09:45\r\n",
        "START;segment;Duration\n\n09:00;\"Welcome, all; hi\";300\n;\"The \"\"big\"\" talk\"; 1200\n"
        "9:45:00;\"Q&A\npanel\";10m",
        "名称\t分钟\t开始\t备注\nWelcome, all; hi\t5\t9:00\tdoors\n\"The \"\"big\"\" talk\"\t20\t\t\n"
        "\"Q&A\npanel\"\t10\t09:45\tmics",
    };
    for (const char* text : exports) {
        const ShowTable table = ReadShowTable(text);
        EXPECT_EQ(table.segments, wanted) << text;
        EXPECT_EQ(table.rowsNotTaken, 0u) << DescribeShowTableProblems(table, UiLanguage::English, 5);
    }
    // Without a header the columns are name, length, start: a first row with a length is no header.
    EXPECT_EQ(ReadShowTable("Title,20m\nClose,90,17:00:30\n").segments,
              (std::vector<ShowSegment>{{"Title", 1200}, {"Close", 90, 17 * 3600 + 30}}));
}

// Each row that is not a segment is named with the line it begins on, as an editor counts
// (CR LF is one line break; a quoted one moves the lines after it), and the rows that are stay.
TEST(ShowTable, RowsThatAreNotSegmentsAreNamedWithTheirLines) {
    const ShowTable table =
        ReadShowTable("Name,Length,Start\r\n\"Two\r\nlines\",5m,25:00\r\na = b,5m\nSoon,soon\n,5m\n" +
                      std::string(81, 'x') + ",1m\nGood,1m\nNone,0\n");
    EXPECT_EQ(table.segments, (std::vector<ShowSegment>{{"Good", 60}}));
    EXPECT_EQ(table.rowsNotTaken, 6u);
    std::vector<std::pair<size_t, RowProblem>> named;
    for (const ShowTableProblem& p : table.problems) named.emplace_back(p.line, p.why);
    EXPECT_EQ(named, (std::vector<std::pair<size_t, RowProblem>>{{2, RowProblem::NotATimeOfDay},
                                                                 {4, RowProblem::NameHasMark},
                                                                 {5, RowProblem::NotALength},
                                                                 {6, RowProblem::NameEmpty},
                                                                 {7, RowProblem::NameTooLong}}));
    EXPECT_EQ(DescribeShowTableProblems(table, UiLanguage::English, 2),
              "line 2, \"25:00\": not a time of day\nline 4, \"a = b\": a name cannot hold = or [, nor start with ; "
              "or #\nand 4 more rows not taken");
    EXPECT_EQ(DescribeShowTableProblems(table, UiLanguage::Chinese, 1), "第 2 行，“25:00”：不是时刻\n另有 5 行未采用");
}

// Whatever the file, the work is bounded and the result says why nothing was taken.
TEST(ShowTable, AHostileFileIsBoundedAndSaysWhy) {
    std::string many = "Length,Name\n";
    for (int i = 0; i < 250; ++i) many += "1m,Part " + std::to_string(i) + "\n";
    const ShowTable rows = ReadShowTable(many);
    ASSERT_EQ(rows.segments.size(), kMaxSegments);
    EXPECT_EQ(rows.segments.back().name, "Part 199");
    EXPECT_EQ(rows.rowsNotTaken, 50u);
    ASSERT_EQ(rows.problems.size(), 1u);
    EXPECT_EQ(rows.problems[0].line, 202u);
    EXPECT_EQ(ReadShowTable("A,5m" + std::string(1000000, ',') + "\n\"B,5m\nC,5m").segments,
              (std::vector<ShowSegment>{{"A", 300}}));
    const struct {
        std::string text;
        size_t line;
        RowProblem why;
    } refused[] = {{std::string(kMaxShowTableBytes + 1, ' '), 0, RowProblem::TooLarge},
                   {"Name,Length\nA,5m\nCaf\xE9,5m\n", 3, RowProblem::NotUtf8},
                   {"Name,Start\nA,09:00\n", 1, RowProblem::NoLengthColumn},
                   {"Notes;Time\nx;09:00\n", 1, RowProblem::NoNameColumn}};
    for (const auto& r : refused) {
        const ShowTable table = ReadShowTable(r.text);
        EXPECT_TRUE(table.segments.empty()) << r.text.substr(0, 40);
        ASSERT_EQ(table.problems.size(), 1u) << r.text.substr(0, 40);
        EXPECT_EQ(table.problems[0].line, r.line) << r.text.substr(0, 40);
        EXPECT_EQ(table.problems[0].why, r.why) << r.text.substr(0, 40);
    }
}
}  // namespace
