#include <gtest/gtest.h>

#include <algorithm>

#include "engine/Quillprint.h"
#include "engine/Text.h"
#include "workspace/AnalysisTable.h"

namespace quillprint {
namespace {

std::vector<std::u16string> PhraseColumn(const TGrid& grid) {
    std::vector<std::u16string> phrases;
    for (int32_t row = 1; row < grid.RowCount(); ++row) phrases.push_back(grid.Cell(0, row));
    return phrases;
}

class AnalysisTable : public ::testing::Test {
protected:
    void SetUp() override {
        Engine.AddAuthor(u"Alpha", u"alpha beta gamma shared pair only candidates\r\n");
        Engine.AddAuthor(u"Beta", u"delta epsilon shared pair only candidates\r\n");
        Engine.Detect(u"alpha beta gamma delta epsilon shared pair lonely lonely\r\n");
        Engine.Authors()[0]->SetKoef(1.0);
        Engine.Authors()[1]->SetKoef(0.6);
        FillAnalysisTable(Engine, Grid);
    }
    TQuillprint Engine{"en_US"};
    TGrid Grid = NewAnalysisGrid();
};

TEST_F(AnalysisTable, ListsPhrasesSharedByTheTestTextAndExactlyOneCandidate) {
    const auto phrases = PhraseColumn(Grid);
    const auto listed = [&](const std::u16string& phrase) {
        return std::find(phrases.begin(), phrases.end(), phrase) != phrases.end();
    };
    EXPECT_TRUE(listed(u"alpha beta gamma"));
    EXPECT_TRUE(listed(u"delta epsilon shared pair"));
    EXPECT_FALSE(listed(u"shared pair only"));  // two candidates, not the test text
    EXPECT_FALSE(listed(u"shared pair"));       // two candidates
    EXPECT_FALSE(listed(u"only candidates"));   // not in the test text
    EXPECT_FALSE(listed(u"lonely"));            // only in the test text
    for (int32_t row = 1; row < Grid.RowCount(); ++row) {
        EXPECT_NE(Grid.Cell(3, row), u"0");
        EXPECT_TRUE((Grid.Cell(1, row) == u"0") != (Grid.Cell(2, row) == u"0")) << "row " << row;
    }
}

TEST_F(AnalysisTable, HeaderShowsUncappedPercentagesAndTheBareTestName) {
    ASSERT_EQ(Grid.ColCount(), 4);
    EXPECT_EQ(Grid.Cell(0, 0), u"");
    EXPECT_EQ(Grid.Cell(1, 0), u"Alpha: 100%");
    EXPECT_EQ(Grid.Cell(2, 0), u"Beta: 60%");
    EXPECT_EQ(Grid.Cell(3, 0), u"Unknown");
}

TEST_F(AnalysisTable, ColoursFollowThePhrasesCandidate) {
    EXPECT_EQ(AnalysisCellColour(Grid, 0, 0), TScoreColour::Ordinary);
    EXPECT_EQ(AnalysisCellColour(Grid, 1, 0), TScoreColour::GreenBold);
    EXPECT_EQ(AnalysisCellColour(Grid, 2, 0), TScoreColour::Blue);
    EXPECT_EQ(AnalysisCellColour(Grid, 3, 0), TScoreColour::Ordinary);
    for (int32_t row = 1; row < Grid.RowCount(); ++row) {
        const bool alphas = Grid.Cell(1, row) != u"0";
        const TScoreColour colour = alphas ? TScoreColour::GreenBold : TScoreColour::Blue;
        EXPECT_EQ(AnalysisCellColour(Grid, 0, row), colour);
        EXPECT_EQ(AnalysisCellColour(Grid, 1, row), alphas ? colour : TScoreColour::Ordinary);
        EXPECT_EQ(AnalysisCellColour(Grid, 2, row), alphas ? TScoreColour::Ordinary : colour);
        EXPECT_EQ(AnalysisCellColour(Grid, 3, row), TScoreColour::Ordinary);
    }
}

TEST(AnalysisTableCap, ListsTheFirst999QualifyingPhrasesInEngineOrder) {
    std::string candidate, test;
    for (int i = 0; i < 1200; ++i) {
        const std::string pair = "a" + std::to_string(i) + " b" + std::to_string(i);
        candidate += pair + " x" + std::to_string(i) + " ";
        test += pair + " y" + std::to_string(i) + " ";
    }
    TQuillprint engine("en_US");
    engine.AddAuthor(u"Alpha", FromUtf8(candidate));
    engine.Detect(FromUtf8(test));
    TGrid grid = NewAnalysisGrid();
    FillAnalysisTable(engine, grid);

    std::vector<std::u16string> qualifying;
    for (const TPhrase* phrase : engine.Phrases()) {
        const int32_t testCount = phrase->AuthorsCounts().back();
        if (testCount >= 1 && testCount != phrase->CountInstances() && phrase->Unique() != -1)
            qualifying.push_back(phrase->Value());
    }
    ASSERT_GE(qualifying.size(), 1200u);
    qualifying.resize(kMaxAnalysisRows);
    EXPECT_EQ(grid.RowCount(), 1000);
    EXPECT_EQ(PhraseColumn(grid), qualifying);
}

}  // namespace
}  // namespace quillprint
