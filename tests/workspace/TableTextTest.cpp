#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "workspace/TableText.h"

namespace quillprint {
namespace {

// A one-row table holding `cells`.
TGrid RowOf(const std::vector<std::u16string>& cells) {
    TGrid grid(static_cast<int32_t>(cells.size()), 1);
    for (size_t col = 0; col < cells.size(); ++col) grid.SetCell(static_cast<int32_t>(col), 0, cells[col]);
    return grid;
}

struct TCsvCase {
    const char* Name;
    std::vector<std::u16string> Cells;
    std::u16string Expected;
};

void PrintTo(const TCsvCase& c, std::ostream* out) { *out << c.Name; }

class CsvRow : public ::testing::TestWithParam<TCsvCase> {};

TEST_P(CsvRow, QuotesOnlyTheCellsThatNeedIt) {
    EXPECT_EQ(TableText(RowOf(GetParam().Cells), TTableFormat::Csv), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cells, CsvRow,
    ::testing::Values(TCsvCase{"Plain", {u"Author", u"81%", u"Most likely"}, u"Author,81%,Most likely\n"},
                      TCsvCase{"Empty", {u"", u"x", u""}, u",x,\n"},
                      TCsvCase{"Comma", {u"Hamilton, Alexander", u"1"}, u"\"Hamilton, Alexander\",1\n"},
                      TCsvCase{"Quote", {u"the \"Unknown\" text"}, u"\"the \"\"Unknown\"\" text\"\n"},
                      TCsvCase{"OnlyAQuote", {u"\""}, u"\"\"\"\"\n"},
                      TCsvCase{"LineFeed", {u"two\nlines", u"b"}, u"\"two\nlines\",b\n"},
                      TCsvCase{"CarriageReturn", {u"a\rb"}, u"\"a\rb\"\n"},
                      TCsvCase{"TabAndSemicolonStayBare", {u"a\tb;c"}, u"a\tb;c\n"},
                      TCsvCase{"LeadingBlanksKept", {u"  in the"}, u"  in the\n"},
                      TCsvCase{"NonAscii", {u"Jos\u00e9", u"\u4e2d\u6587"}, u"Jos\u00e9,\u4e2d\u6587\n"}),
    [](const ::testing::TestParamInfo<TCsvCase>& info) { return std::string(info.param.Name); });

TEST(TableText, CsvHasEveryRowAndColumnEachEndedByALineFeed) {
    TGrid grid(3, 3);
    grid.SetCell(1, 0, u"Author");
    grid.SetCell(2, 0, u"Probability");
    grid.SetCell(0, 1, u"1");
    grid.SetCell(1, 1, u"Madison");
    grid.SetCell(2, 1, u"99%");
    EXPECT_EQ(TableText(grid, TTableFormat::Csv), u",Author,Probability\n1,Madison,99%\n,,\n");
}

TEST(TableText, TsvIsTheClipboardText) {
    TGrid grid(2, 2);
    grid.SetCell(0, 0, u"Phrase");
    grid.SetCell(1, 0, u"Count");
    grid.SetCell(0, 1, u"in the, \"end\"");
    grid.SetCell(1, 1, u"3");
    EXPECT_EQ(TableText(grid, TTableFormat::Tsv), CopyGrid(grid));
    EXPECT_EQ(TableText(grid, TTableFormat::Tsv), u"\tPhrase\tCount\r\tin the, \"end\"\t3\r");
}

}  // namespace
}  // namespace quillprint
