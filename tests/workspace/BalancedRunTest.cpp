#include <gtest/gtest.h>

#include "engine/Text.h"
#include "workspace/BalancedRun.h"
#include "workspace/ResultTable.h"
#include "workspace/SplitMix64.h"

namespace quillprint {
namespace {

// Lines in the manner of one writer: phrases picked from the writer's own
// stock and from a stock every writer shares.
TCandidateLines Writer(const std::u16string& name, const std::vector<std::string>& own, int texts, int linesPerText,
                       uint64_t seed) {
    static const std::vector<std::string> shared = {"of the people", "in the state", "it is said that",
                                                    "the general government", "as a rule", "for the present"};
    TSplitMix64 random(seed);
    TCandidateLines writer{name, {}, {}, {}};
    for (int t = 0; t < texts; ++t) {
        writer.TextStarts.push_back(writer.Lines.size());
        for (int l = 0; l < linesPerText; ++l) {
            std::string line;
            for (int p = 0; p < 4; ++p) {
                const auto& stock = random.Below(3) == 0 ? own : shared;
                line += stock[random.Below(stock.size())] + " w" + std::to_string(random.Below(400)) + " ";
            }
            writer.Lines.push_back(FromUtf8(line));
        }
    }
    return writer;
}

const std::vector<std::string> kPlainStock = {"i must observe", "upon the whole", "it may be added", "we are told"};
const std::vector<std::string> kOrnateStock = {"most assuredly", "in the fullness of time", "let it be granted",
                                               "whereupon it follows"};

class BalancedRun : public ::testing::Test {
protected:
    void SetUp() override {
        // Large enough to be cut: about 16,000 and 11,000 words against 6,000.
        Candidates.push_back(Writer(u"Plain", kPlainStock, 40, 25, 1));
        Candidates.push_back(Writer(u"Ornate", kOrnateStock, 1, 700, 2));
        Candidates.push_back(Writer(u"Both", {"i must observe", "most assuredly"}, 10, 38, 3));
        Test = JoinLines(Writer(u"Unknown", kOrnateStock, 1, 60, 4).Lines);
    }
    std::vector<TCandidateLines> Candidates;
    std::u16string Test;
};

TEST_F(BalancedRun, MeansTheScoresOfNineOrdinaryRunsOnTheDrawnSamples) {
    const TBalancedOutcome outcome = RunBalanced(Candidates, Test, "en_US");
    const TBalancedSampler sampler(Candidates);
    ASSERT_TRUE(sampler.DrawsDiffer());
    EXPECT_EQ(outcome.Budget, sampler.Budget());

    std::vector<long double> sums(Candidates.size(), 0);
    std::vector<int32_t> won(Candidates.size(), 0);
    for (int32_t draw = 0; draw < kBalancedDraws; ++draw) {
        TQuillprint engine("en_US");
        const auto chosen = sampler.Draw(draw);
        for (size_t c = 0; c < Candidates.size(); ++c)
            engine.AddAuthor(Candidates[c].Name, sampler.SampleText(c, chosen[c]));
        engine.Detect(Test);
        std::vector<double> scores;
        for (size_t c = 0; c < Candidates.size(); ++c) scores.push_back(engine.Authors()[c]->Koef());
        for (size_t c = 0; c < scores.size(); ++c) sums[c] += scores[c];
        if (const int32_t best = SoleBest(scores); best >= 0) ++won[static_cast<size_t>(best)];
        if (draw == 0) {
            // The engine kept for "Analysis" and "Stylometry" is this one.
            ASSERT_NE(outcome.FirstDraw, nullptr);
            for (size_t c = 0; c < Candidates.size(); ++c) {
                EXPECT_EQ(outcome.FirstDraw->Authors()[c]->Koef(), scores[c]);
                EXPECT_EQ(outcome.FirstDraw->Authors()[c]->WordCount(), engine.Authors()[c]->WordCount());
            }
            EXPECT_EQ(outcome.FirstDraw->Test()->WordCount(), engine.Test()->WordCount());
        }
    }
    for (size_t c = 0; c < Candidates.size(); ++c)
        EXPECT_EQ(outcome.MeanScores[c], static_cast<double>(sums[c] / kBalancedDraws)) << c;
    EXPECT_EQ(outcome.DrawsWon, won);
    EXPECT_EQ(RankedFirst(outcome.MeanScores), 1) << "the unknown text is written in the ornate manner";
}

TEST_F(BalancedRun, TheSameProjectGivesTheSameScores) {
    const TBalancedOutcome first = RunBalanced(Candidates, Test, "en_US");
    const TBalancedOutcome second = RunBalanced(std::vector<TCandidateLines>(Candidates), Test, "en_US");
    EXPECT_EQ(first.MeanScores, second.MeanScores);
    EXPECT_EQ(first.DrawsWon, second.DrawsWon);
}

TEST(BalancedRunWithinBudget, OneRunStandsForEveryDrawAndScoresAsThePlainCalculation) {
    const std::vector<TCandidateLines> candidates{Writer(u"Plain", kPlainStock, 3, 10, 1),
                                                  Writer(u"Ornate", kOrnateStock, 1, 20, 2)};
    const std::u16string test = JoinLines(Writer(u"Unknown", kOrnateStock, 1, 10, 4).Lines);
    TQuillprint plain("en_US");
    for (const auto& candidate : candidates) plain.AddAuthor(candidate.Name, JoinLines(candidate.Lines));
    plain.Detect(test);

    const TBalancedOutcome outcome = RunBalanced(candidates, test, "en_US");
    EXPECT_EQ(outcome.MeanScores, (std::vector<double>{plain.Authors()[0]->Koef(), plain.Authors()[1]->Koef()}));
    EXPECT_EQ(outcome.DrawsWon, (std::vector<int32_t>{0, kBalancedDraws}));
    EXPECT_EQ(outcome.Budget, kMinimumBudget);
}

TEST(Ranking, HighestScoreFirstAndEqualScoresInEngineOrder) {
    const std::vector<double> scores{0.5, 0.9, 0.9, -0.1, 0.5};
    EXPECT_EQ(RankedFirst(scores), 1);
    const int32_t ranks[] = {3, 1, 2, 5, 4};
    for (size_t c = 0; c < scores.size(); ++c) EXPECT_EQ(RankOf(scores, c), ranks[c]) << c;
    EXPECT_EQ(RankedFirst({}), -1);
    EXPECT_EQ(RankedFirst({0, 0}), 0);
}

TEST(BalancedResultTable, RanksByTheMeanWithAColumnOfDrawsWon) {
    TQuillprint engine("en_US");
    engine.AddAuthor(u"Anna", u"the red fox runs home");
    engine.AddAuthor(u"Boris", u"a grey wolf sleeps there tonight again");
    engine.Detect(u"the red fox and a grey wolf");
    TGrid grid = NewResultGrid();
    std::vector<TAuthorChoice> chooser;
    FillBalancedResultTable(engine, {0.52, 0.8}, {2, 7}, grid, chooser);
    ASSERT_EQ(grid.ColCount(), 5);
    ASSERT_EQ(grid.RowCount(), 4);
    const char16_t* expected[4][5] = {
        {u"Author", u"Probability", u"Description", u"Words", u"Draws won"},
        {u"Boris", u"80%", u"Most likely", u"7", u"7"},
        {u"Anna", u"52%", u"Maybe", u"5", u"2"},
        {u"Unknown", u"The same as Unknown text", u"The same as Unknown text", u"7", u""},
    };
    for (int32_t row = 0; row < 4; ++row)
        for (int32_t col = 0; col < 5; ++col) EXPECT_EQ(grid.Cell(col, row), expected[row][col]) << col << "," << row;
    EXPECT_EQ(ResultCellColour(grid, 0, 1), TScoreColour::GreenBold);
    EXPECT_EQ(ResultCellColour(grid, 4, 2), TScoreColour::Blue);
    EXPECT_EQ(chooser.size(), 3u);

    // The plain table afterwards has its four columns again.
    FillResultTable(engine, grid, chooser);
    EXPECT_EQ(grid.ColCount(), 4);
    EXPECT_EQ(grid.Cell(0, 1), u"Boris");
    EXPECT_EQ(grid.Cell(1, 1), u"82%");
}

TEST(DrawsWon, ADrawWhoseTopScoreIsSharedIsWonByNoOne) {
    struct TCase {
        const char* Name;
        std::u16string First, Second, Test;
        std::vector<int32_t> Won;
    };
    const TCase cases[] = {
        {"empty unknown: 0 and 0", u"alpha beta gamma", u"delta epsilon zeta", u"", {0, 0}},
        {"the same score above 0", u"alpha beta gamma", u"delta epsilon zeta", u"alpha beta delta epsilon", {0, 0}},
        {"one clear winner", u"alpha beta gamma", u"delta epsilon zeta", u"alpha beta gamma", {9, 0}},
    };
    for (const TCase& c : cases) {
        const std::vector<TCandidateLines> candidates = {{u"First", {c.First}, {0}, {}}, {u"Second", {c.Second}, {0}, {}}};
        const TBalancedOutcome outcome = RunBalanced(candidates, c.Test, "en_US");
        EXPECT_EQ(outcome.DrawsWon, c.Won) << c.Name;
    }
    EXPECT_EQ(SoleBest({0.81, 0.81}), -1);
    EXPECT_EQ(SoleBest({0.5, 0.81, 0.2}), 1);
    EXPECT_EQ(SoleBest({}), -1);
}

}  // namespace
}  // namespace quillprint
