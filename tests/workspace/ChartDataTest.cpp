// The pictures' contents: the bars follow the results table, the heat map
// the table of texts, the confusion matrix the validation report.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeViews.h"
#include "SampleText.h"
#include "TempProject.h"
#include "engine/Text.h"
#include "workspace/ChartData.h"
#include "workspace/TextsTable.h"
#include "workspace/ValidationReport.h"
#include "workspace/Workspace.h"

namespace quillprint {
namespace {

using testing::Sample;
using testing::TTempFolder;

// Candidates of unequal size, so the draws of a balanced run differ.
class ResultChart : public ::testing::TestWithParam<bool>, protected testing::TWorkspaceFixture {
protected:
    TWorkspace Workspace{u"/opt/quillprint/", "en_US", View, Messages, Observer};
    TTempFolder Project;

    void SetUp() override {
        Project.Write("Alpha/a.txt", Sample(11, 700));  // above the balanced budget
        Project.Write("Beta/b.txt", Sample(7, 40));
        Project.Write("Gamma/g.txt", Sample(5, 70));
        Project.Write("Delta/d.txt", Sample(13, 30));
        Project.Write("Unknown/u.txt", Sample(7, 12) + Sample(11, 6));
        Workspace.LoadProject(Project.Dir());
        Workspace.SetBalance(GetParam());
    }

    std::vector<TScoreBar> Bars() const { return Workspace.Results().ResultBars(); }
};

TEST_P(ResultChart, BarsAreTheTablesCandidateRowsInItsOrder) {
    EXPECT_TRUE(Bars().empty()) << "nothing calculated yet";
    Workspace.Calculate();
    ASSERT_TRUE(Messages.Errors.empty());
    const TGrid& table = Workspace.Results().ResultTable();
    const std::vector<TScoreBar> bars = Bars();
    // Every row but the header and the test author's.
    ASSERT_EQ(static_cast<int32_t>(bars.size()), table.RowCount() - 2);
    int32_t drawsWon = 0;
    for (size_t i = 0; i < bars.size(); ++i) {
        const int32_t row = static_cast<int32_t>(i) + 1;
        EXPECT_EQ(bars[i].Name, table.Cell(0, row));
        EXPECT_EQ(FromUtf8(std::to_string(bars[i].Percent)) + u"%", table.Cell(1, row));
        EXPECT_EQ(bars[i].Colour, Workspace.Results().ResultCellColour(0, row));
        if (GetParam()) {
            // The whisker spans the draws of this very candidate: its mean lies within.
            ASSERT_TRUE(bars[i].LowestPercent && bars[i].HighestPercent);
            EXPECT_LE(*bars[i].LowestPercent, bars[i].Percent + 0.5) << bars[i].Percent;
            EXPECT_GE(*bars[i].HighestPercent, bars[i].Percent - 0.5) << bars[i].Percent;
            EXPECT_EQ(FromUtf8(std::to_string(bars[i].DrawsWon)), table.Cell(kDrawsWonColumn, row));
            drawsWon += bars[i].DrawsWon;
        } else {
            EXPECT_FALSE(bars[i].LowestPercent || bars[i].HighestPercent);
            EXPECT_EQ(bars[i].DrawsWon, -1);
        }
    }
    if (GetParam()) {
        EXPECT_EQ(drawsWon, kBalancedDraws);
        ASSERT_EQ(Workspace.Results().DrawScores().size(), static_cast<size_t>(kBalancedDraws));
        // Unequal samples: at least one candidate's score moves between draws.
        bool spread = false;
        for (const TScoreBar& bar : bars) spread = spread || *bar.HighestPercent > *bar.LowestPercent;
        EXPECT_TRUE(spread);
    }

    Workspace.NewProject();
    EXPECT_TRUE(Bars().empty()) << "the chart is empty when the table is";
}

TEST_P(ResultChart, BarsKeepTheirNumbersWhenTheTableWritesPercentagesDifferently) {
    Workspace.Calculate();
    ASSERT_TRUE(Messages.Errors.empty());
    const std::vector<TScoreBar> bars = Bars();
    ASSERT_FALSE(bars.empty());
    // The same ranking written with another percentage format: the table
    // changes, the bars made from the ranking do not.
    TGrid table = NewResultGrid();
    FillResultGrid(Workspace.Results().ResultRanking(), table,
                   [](double score) { return u"p=" + FromUtf8(std::to_string(WholePercent(score))); });
    ASSERT_NE(CopyGrid(table), CopyGrid(Workspace.Results().ResultTable()));
    EXPECT_EQ(table.Cell(1, 1), u"p=" + FromUtf8(std::to_string(bars[0].Percent)));
    EXPECT_EQ(table.Cell(1, table.RowCount() - 1), u"The same as Unknown text");
    for (size_t i = 0; i < bars.size(); ++i) {
        const int32_t row = static_cast<int32_t>(i) + 1;
        EXPECT_EQ(bars[i].Name, table.Cell(0, row));
        EXPECT_EQ(FromUtf8(std::to_string(bars[i].Percent)) + u"%", Workspace.Results().ResultTable().Cell(1, row));
    }
}

INSTANTIATE_TEST_SUITE_P(PlainAndBalanced, ResultChart, ::testing::Bool(),
                         [](const auto& info) { return std::string(info.param ? "Balanced" : "Plain"); });

TEST(ResultChart, BalancedRunKeepsEveryDrawsScoresWhoseMeanIsTheMeanScore) {
    std::vector<TCandidateLines> candidates = {
        {u"Long", DecodeText(Sample(11, 700), "windows-1252"), {0}, {}},
        {u"Short", DecodeText(Sample(7, 30), "windows-1252"), {0}, {}},
    };
    const TCalculationResult result = RunCalculation(candidates, FromUtf8(Sample(7, 10)), "en_US", true);
    ASSERT_EQ(result.DrawScores.size(), static_cast<size_t>(kBalancedDraws));
    for (size_t c = 0; c < candidates.size(); ++c) {
        long double sum = 0;
        for (const auto& draw : result.DrawScores) sum += draw.at(c);
        EXPECT_EQ(static_cast<double>(sum / kBalancedDraws), result.MeanScores[c]);
    }
    EXPECT_TRUE(RunCalculation(candidates, FromUtf8(Sample(7, 10)), "en_US", false).DrawScores.empty());
}

TEST(TextsHeatMap, RowsAreTheTextsAndTheMarkIsTheTablesMostLikely) {
    auto outcome = [](std::u16string label, std::vector<double> scores) {
        TTextOutcome text;
        text.Label = std::move(label);
        for (size_t c = 0; c < scores.size(); ++c)
            text.Candidates.push_back({c == 0 ? u"Hamilton" : c == 1 ? u"Madison" : u"Jay", scores[c], 100, 1, -1});
        return text;
    };
    std::vector<TTextOutcome> outcomes = {
        outcome(u"no. 49", {0.2, 0.8, 0.1}),
        outcome(u"no. 50", {0.645, 0.3, 1.0}),  // 65% (half to even), 99% capped
        outcome(u"no. 51", {0.4, 0.4, 0.0}),    // a tie goes to the earlier candidate
    };
    TTextOutcome failed;
    failed.Label = u"no. 52";
    failed.Error = u"Cannot open file";
    outcomes.insert(outcomes.begin() + 1, failed);

    const THeatMap map = TextsHeatMap(outcomes);
    EXPECT_EQ(map.Candidates, (std::vector<std::u16string>{u"Hamilton", u"Madison", u"Jay"}));
    EXPECT_EQ(map.Texts, (std::vector<std::u16string>{u"no. 49", u"no. 52", u"no. 50", u"no. 51"}));
    EXPECT_EQ(map.Percents, (std::vector<std::vector<int32_t>>{{20, 80, 10}, {}, {65, 30, 99}, {40, 40, 0}}));
    EXPECT_EQ(map.MostLikely, (std::vector<int32_t>{1, -1, 2, 0}));
    const TGrid table = TextsGrid(outcomes, false);
    for (size_t t = 0; t < outcomes.size(); ++t) {
        if (map.MostLikely[t] < 0) continue;
        EXPECT_EQ(map.Candidates[static_cast<size_t>(map.MostLikely[t])],
                  table.Cell(kTextsMostLikelyColumn, static_cast<int32_t>(t) + 1));
    }
    EXPECT_TRUE(TextsHeatMap({}).Texts.empty());
}

// `count` lines, each holding `phrase` and a word of its own.
TLines LinesOf(const std::vector<std::u16string>& phrases, int count, const std::u16string& tag) {
    TLines lines;
    for (int i = 0; i < count; ++i)
        lines.push_back(phrases[static_cast<size_t>(i) % phrases.size()] + u" " + tag + FromUtf8(std::to_string(i)));
    return lines;
}

// A known answer: "Farmer" and "Sailor" keep to their own phrases, "Mimic"
// ends with two lines in the sailor's manner (the lines it holds back), and
// "Tiny" is too short to test.
TEST(ConfusionMatrix, KnownAnswerOfASmallValidation) {
    const std::u16string sea = u"the salt wind fills the old sail", rocks = u"we sailed past the grey rocks";
    const std::u16string field = u"the brown field waits for rain", clock = u"the tall clock ticks in the hall";
    TLines mimic = LinesOf({clock}, 8, u"m");
    for (const auto& line : LinesOf({rocks}, 2, u"r")) mimic.push_back(line);
    const std::vector<TCandidateLines> candidates = {
        {u"Farmer", LinesOf({field}, 10, u"f"), {0}, {}},
        {u"Mimic", mimic, {0}, {}},
        {u"Sailor", LinesOf({sea, rocks}, 10, u"s"), {0, 4}, {}},
        {u"Tiny", LinesOf({clock}, 4, u"t"), {0}, {}},
    };
    const TConfusionMatrix matrix = ConfusionMatrixOf(RunValidationReport(candidates, "en_US", false));
    EXPECT_EQ(matrix.Names, (std::vector<std::u16string>{u"Farmer", u"Mimic", u"Sailor", u"Tiny"}));
    EXPECT_EQ(matrix.Tested, (std::vector<bool>{true, true, true, false}));
    EXPECT_EQ(matrix.Counts, (std::vector<std::vector<int32_t>>{{1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 1, 0}, {0, 0, 0, 0}}));
    EXPECT_EQ(matrix.TestedCount, 3);
    EXPECT_EQ(matrix.RecognisedCount, 2);
    EXPECT_EQ(ConfusionReading(matrix), u"2 of 3 recognised; Mimic's lines went to Sailor");
}

// A report that tested every second candidate: a miss to a candidate it did
// not test is still drawn and read.
TEST(ConfusionMatrix, AMissToAnUntestedCandidateIsShown) {
    TValidationReport report;
    report.Candidates = 4;
    report.Step = 2;
    report.Rows = {{u"Ann", 3, u"Bob", 0.4, 2}, {u"Cid", 3, u"Cid", 0.9, 1}};
    const TConfusionMatrix matrix = ConfusionMatrixOf(report);
    EXPECT_EQ(matrix.Names, (std::vector<std::u16string>{u"Ann", u"Cid", u"Bob"}));
    EXPECT_EQ(matrix.Tested, (std::vector<bool>{true, true, false}));
    EXPECT_EQ(matrix.Counts, (std::vector<std::vector<int32_t>>{{0, 0, 1}, {0, 1, 0}, {0, 0, 0}}));
    EXPECT_EQ(ConfusionReading(matrix), u"1 of 2 recognised; Ann's lines went to Bob");
}

TEST(ConfusionMatrix, ReadingNamesEveryMissInRowOrder) {
    const struct {
        std::vector<std::vector<int32_t>> Counts;
        int32_t Recognised;
        std::u16string Reading;
    } cases[] = {
        {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, 3, u"3 of 3 recognised"},
        {{{0, 1, 0}, {0, 1, 0}, {1, 0, 0}}, 1,
         u"1 of 3 recognised; Hamilton's lines went to Madison, Jay's lines went to Hamilton"},
    };
    for (const auto& c : cases) {
        TConfusionMatrix matrix;
        matrix.Names = {u"Hamilton", u"Madison", u"Jay"};
        matrix.Tested = {true, true, true};
        matrix.Counts = c.Counts;
        matrix.TestedCount = 3;
        matrix.RecognisedCount = c.Recognised;
        EXPECT_EQ(ConfusionReading(matrix), c.Reading);
    }
    // A report without candidates: no rows, nothing tested.
    const TConfusionMatrix empty = ConfusionMatrixOf(TValidationReport{});
    EXPECT_TRUE(empty.Names.empty());
    EXPECT_EQ(ConfusionReading(empty), u"0 of 0 recognised");
}

}  // namespace
}  // namespace quillprint
