// Scores, summary lines and the average word count of whole calculations.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "EngineTestHelpers.h"
#include "engine/Quillprint.h"
#include "engine/ScoreFormat.h"

namespace quillprint::testing {
namespace {

class AnnaBorisCarl : public ::testing::Test {
protected:
    void SetUp() override {
        engine.AddAuthor(u"Anna", u"The red fox runs home.");
        engine.AddAuthor(u"Boris", u"A grey wolf sleeps there, tonight again!");
        engine.AddAuthor(u"Carl", u"Blue sky.");
        summary = engine.Detect(u"The red fox and a grey wolf");
    }
    const TAuthor& Author(size_t index) const { return *engine.Authors().at(index); }

    TQuillprint engine{kTestLocale};
    std::u16string summary;
};

TEST_F(AnnaBorisCarl, SummaryLines) {
    EXPECT_EQ(summary, u"Anna: 0.808571428571429\rBoris: 0.82\rCarl: 0\r");
}

TEST_F(AnnaBorisCarl, Corpus) {
    ASSERT_EQ(engine.Authors().size(), 4u);
    EXPECT_EQ(Author(3).Name(), u"Unknown");
    EXPECT_EQ(engine.Test(), &Author(3));
    EXPECT_EQ(ListOf(Author(0).Text()), (TWordList{u"the", u"red", u"fox", u"runs", u"home"}));
    EXPECT_EQ(engine.WordsAll().WordCount(), 21);
    EXPECT_EQ(engine.WordsAll().AuthorIndexes(), (std::vector<int32_t>{5, 12, 14}));
}

TEST_F(AnnaBorisCarl, ScoredPhrases) {
    std::vector<TPhraseRow> rows;
    for (const TPhrase* phrase : engine.Phrases()) rows.push_back(RowOf(*phrase));
    EXPECT_EQ(rows, (std::vector<TPhraseRow>{{u"a grey wolf", 3, 2, {0, 1, 0, 1}, 1, 2},
                                             {u"the red fox", 3, 2, {1, 0, 0, 1}, 0, 2}}));
}

TEST_F(AnnaBorisCarl, ScoresAndCounts) {
    EXPECT_DOUBLE_EQ(Author(0).Koef(), (31.0 / 35 - 0.8) / 10 + 0.8);
    EXPECT_EQ(Author(1).Koef(), 0.82);
    EXPECT_EQ(Author(2).Koef(), 0.0);
    EXPECT_EQ(Author(3).Koef(), 2.0);
    EXPECT_EQ(Author(0).UniqueNum(), 1);
    EXPECT_EQ(Author(1).UniqueNum(), 1);
    EXPECT_EQ(Author(2).UniqueNum(), 0);
    EXPECT_EQ(Author(3).UniqueNum(), 2);
    EXPECT_EQ(engine.AverageWordCounts(), 5);  // 14 / 3
}

TEST(Scoring, DecimalSeparatorOfTheLocale) {
    TQuillprint engine("de_DE");
    engine.AddAuthor(u"Anna", u"The red fox runs home.");
    engine.AddAuthor(u"Boris", u"A grey wolf sleeps there, tonight again!");
    EXPECT_EQ(engine.Detect(u"The red fox and a grey wolf"), u"Anna: 0,808571428571429\rBoris: 0,82\r");
}

TEST(Scoring, EmptyTestTextScoresNothing) {
    TQuillprint engine(kTestLocale);
    engine.AddAuthor(u"Anna", u"red fox red fox");
    engine.AddAuthor(u"Boris", u"grey wolf");
    EXPECT_EQ(engine.Detect(u""), u"Anna: 0\rBoris: 0\r");
    EXPECT_EQ(engine.Authors()[0]->Koef(), 0.0);
    EXPECT_EQ(engine.Authors()[1]->Koef(), 0.0);
    EXPECT_EQ(engine.Authors()[2]->Koef(), 2.0);
    EXPECT_EQ(engine.Authors()[2]->WordCount(), 0);
}

TEST(Scoring, NoCandidate) {
    TQuillprint engine(kTestLocale);
    EXPECT_EQ(engine.Detect(u"one two one two"), u"");
    ASSERT_EQ(engine.Authors().size(), 1u);
    EXPECT_EQ(engine.Authors()[0]->Koef(), 2.0);
    EXPECT_EQ(engine.Authors()[0]->UniqueNum(), 0);
    EXPECT_EQ(engine.AverageWordCounts(), 0);
}

TEST(Scoring, RatesFarApartGiveANegativeScore) {
    // One word used once in 100 words and as the whole test text: the
    // candidate gains (0.5 - 0.99) x 1, the test author 0.5.
    std::u16string candidate = u"zebra";
    for (int i = 1; i < 100; ++i) candidate += u" w" + FromUtf8(std::to_string(i));
    TQuillprint engine(kTestLocale);
    engine.AddAuthor(u"Anna", candidate);
    EXPECT_EQ(engine.Detect(u"zebra"), u"Anna: -1.96\r");
}

TEST(Scoring, SameNameStaysTwoAuthors) {
    TQuillprint engine(kTestLocale);
    engine.AddAuthor(u"Anna", u"red fox");
    engine.AddAuthor(u"Anna", u"grey wolf");
    EXPECT_EQ(engine.Detect(u"red fox grey wolf"), u"Anna: 0.5\rAnna: 0.5\r");
    EXPECT_EQ(engine.Authors()[0]->UniqueNum(), 1);
    EXPECT_EQ(engine.Authors()[1]->UniqueNum(), 1);
}

TEST(Scoring, FirstCandidateWithoutWords) {
    TQuillprint engine(kTestLocale);
    engine.AddAuthor(u"Empty", u"");
    engine.AddAuthor(u"Boris", u"grey wolf");
    EXPECT_EQ(engine.Detect(u"grey wolf"), u"Empty: 0\rBoris: 0.99\r");
    EXPECT_EQ(engine.WordsAll().AuthorIndexes(), (std::vector<int32_t>{0, 2}));
}

// Two candidates whose phrases carry `weightA` and `weightB` words of the
// test text, each at the test text's own rate, so their ratios are
// 2 x weightA / (weightA + weightB) and 2 x weightB / (weightA + weightB).
struct TBandCase {
    int WeightA;
    int WeightB;
    std::u16string Summary;
};

std::u16string Words(char16_t letter, int count) {
    std::u16string text;
    for (int i = 0; i < count; ++i) text += (i > 0 ? u" " : u"") + std::u16string(1, letter) + FromUtf8(std::to_string(i));
    return text;
}

class ScoreBandTest : public ::testing::TestWithParam<TBandCase> {};

TEST_P(ScoreBandTest, MapsTheRatio) {
    const int a = GetParam().WeightA;
    const int b = GetParam().WeightB;
    TQuillprint engine(kTestLocale);
    // Fillers bring each candidate to the test text's length, so rates match.
    engine.AddAuthor(u"A", Words(u'a', a) + u" " + Words(u'p', b));
    engine.AddAuthor(u"B", Words(u'b', b) + u" " + Words(u'q', a));
    EXPECT_EQ(engine.Detect(Words(u'a', a) + u" " + Words(u'b', b)), GetParam().Summary);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScoreBandTest,
    ::testing::Values(TBandCase{2, 3, u"A: 0.8\rB: 0.97\r"},    // ratios 0.8 and 1.2
                      TBandCase{9, 11, u"A: 0.81\rB: 0.96\r"},  // 0.9 and 1.1
                      TBandCase{1, 1, u"A: 0.82\rB: 0.82\r"},   // 1 and 1
                      TBandCase{3, 1, u"A: 1\rB: 0.5\r"},       // 1.5 and 0.5
                      TBandCase{4, 1, u"A: 0.99\rB: 0.4\r"}));  // 1.6 and 0.4

struct TBandEdge {
    double Ratio;
    std::u16string Score;
};

class ScoreBandEdgeTest : public ::testing::TestWithParam<TBandEdge> {};

TEST_P(ScoreBandEdgeTest, PrintsTheBandValue) {
    EXPECT_EQ(FormatScore(ScoreBand(GetParam().Ratio), u'.'), GetParam().Score);
}

// The bands are not monotonic: exactly 1 gives 0.82, just above 1 gives 0.95,
// exactly 1.5 gives 1 and anything above gives 0.99.
INSTANTIATE_TEST_SUITE_P(
    Edges, ScoreBandEdgeTest,
    ::testing::Values(TBandEdge{-1.96, u"-1.96"}, TBandEdge{0.0, u"0"}, TBandEdge{0.8, u"0.8"},
                      TBandEdge{0.9, u"0.81"}, TBandEdge{1.0, u"0.82"}, TBandEdge{std::nextafter(1.0, 2.0), u"0.95"},
                      TBandEdge{1.2, u"0.97"}, TBandEdge{1.5, u"1"}, TBandEdge{std::nextafter(1.5, 2.0), u"0.99"},
                      TBandEdge{2.0, u"0.99"}));

TEST(ScoreBand, ExactValuesAtTheEdges) {
    const double belowEdge = std::nextafter(0.8, 0.0);
    EXPECT_EQ(ScoreBand(belowEdge), belowEdge);  // the first band keeps the ratio
    EXPECT_EQ(ScoreBand(-0.49), -0.49);
    EXPECT_EQ(ScoreBand(1.0), 0.82);
    EXPECT_EQ(ScoreBand(1.5), 1.0);
    EXPECT_EQ(ScoreBand(2.0), 0.99);
}

TEST(Scoring, WholeTestTextFromOneCandidateScores099) {
    TQuillprint engine(kTestLocale);
    engine.AddAuthor(u"Copyist", u"x y");
    EXPECT_EQ(engine.Detect(u"x y"), u"Copyist: 0.99\r");  // ratio 2
}

struct TAverageCase {
    std::vector<int> WordCounts;
    int32_t Average;
};

class AverageWordCountsTest : public ::testing::TestWithParam<TAverageCase> {};

TEST_P(AverageWordCountsTest, RoundsHalfToEven) {
    TQuillprint engine(kTestLocale);
    for (int count : GetParam().WordCounts) engine.AddAuthor(u"Candidate", Words(u'w', count));
    engine.Detect(Words(u't', 7));
    EXPECT_EQ(engine.AverageWordCounts(), GetParam().Average);
}

INSTANTIATE_TEST_SUITE_P(Cases, AverageWordCountsTest,
                         ::testing::Values(TAverageCase{{1, 2}, 2}, TAverageCase{{2, 3}, 2},
                                           TAverageCase{{3, 4}, 4}, TAverageCase{{5, 2, 7}, 5},
                                           TAverageCase{{0}, 0}));

}  // namespace
}  // namespace quillprint::testing
