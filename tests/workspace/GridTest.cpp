#include <gtest/gtest.h>

#include <stdexcept>

#include "workspace/Grid.h"
#include "workspace/StylometryTable.h"

namespace quillprint {
namespace {

TEST(Grid, ResizingKeepsTheCellsThatFit) {
    TGrid grid(2, 2);
    grid.SetCell(1, 1, u"kept");
    grid.SetCell(0, 1, u"also kept");
    grid.SetColCount(3);
    grid.SetRowCount(4);
    EXPECT_EQ(grid.Cell(1, 1), u"kept");
    EXPECT_EQ(grid.Cell(0, 1), u"also kept");
    EXPECT_EQ(grid.Cell(2, 3), u"");
    grid.SetColCount(1);
    EXPECT_EQ(grid.Cell(0, 1), u"also kept");
    EXPECT_THROW(grid.Cell(1, 0), std::out_of_range);
    EXPECT_THROW(grid.SetCell(0, 4, u"x"), std::out_of_range);
}

TEST(ScoreColour, FollowsTheBands) {
    EXPECT_EQ(ScoreColour(0.75), TScoreColour::GreenBold);
    EXPECT_EQ(ScoreColour(1.9999), TScoreColour::GreenBold);
    EXPECT_EQ(ScoreColour(2.0), TScoreColour::Ordinary);
    EXPECT_EQ(ScoreColour(0.7499), TScoreColour::Blue);
    EXPECT_EQ(ScoreColour(0.5), TScoreColour::Blue);
    EXPECT_EQ(ScoreColour(0.4999), TScoreColour::Ordinary);
    EXPECT_EQ(ScoreColour(-1.0), TScoreColour::Ordinary);
}

TEST(CopyGrid, PutsATabBeforeEveryCellAndALoneCrAfterEveryRow) {
    TGrid grid = NewStylometryGrid();
    grid.SetRowCount(3);
    grid.SetCell(0, 1, u"a phrase");
    grid.SetCell(1, 1, u"2");
    grid.SetCell(2, 1, u"0");
    EXPECT_EQ(CopyGrid(grid), u"\tPhrase\tCount\tOther Authors use\r\ta phrase\t2\t0\r\t\t\t\r");
}

}  // namespace
}  // namespace quillprint
