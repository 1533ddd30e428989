#include <gtest/gtest.h>

#include "engine/Quillprint.h"
#include "engine/Text.h"
#include "workspace/ResultTable.h"

namespace quillprint {
namespace {

// `count` words no other text shares, so no phrase links the authors.
std::u16string DistinctWords(const std::string& prefix, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += prefix + std::to_string(i) + " ";
    return FromUtf8(text);
}

// An engine whose candidates have the given word counts, after Detect.
std::unique_ptr<TQuillprint> EngineWithWordCounts(const std::vector<int>& wordCounts, int testWords = 3) {
    auto engine = std::make_unique<TQuillprint>("en_US");
    for (size_t i = 0; i < wordCounts.size(); ++i)
        engine->AddAuthor(u"C" + FromUtf8(std::to_string(i)), DistinctWords("c" + std::to_string(i) + "w", wordCounts[i]));
    engine->Detect(DistinctWords("t", testWords));
    return engine;
}

struct TScoreCase {
    double Koef;
    const char16_t* Percent;
    const char16_t* Verdict;
    TScoreColour Colour;
};

TEST(ResultTable, ShowsEachScoreAsPercentVerdictAndColour) {
    const TScoreCase cases[] = {
        {1.0, u"99%", u"Most likely", TScoreColour::GreenBold},  // capped at 0.99
        {0.995, u"99%", u"Most likely", TScoreColour::GreenBold},
        {0.99, u"99%", u"Most likely", TScoreColour::GreenBold},
        {0.75, u"75%", u"Most likely", TScoreColour::GreenBold},
        {0.749, u"75%", u"Maybe", TScoreColour::Blue},
        {0.5, u"50%", u"Maybe", TScoreColour::Blue},
        {0.499, u"50%", u"Hardly", TScoreColour::Ordinary},
        {0.125, u"12%", u"Hardly", TScoreColour::Ordinary},  // an exact half goes to even
        {0.625, u"62%", u"Maybe", TScoreColour::Blue},
        {0.645, u"65%", u"Maybe", TScoreColour::Blue},  // d x 100 in long double
        {-0.05, u"-5%", u"Hardly", TScoreColour::Ordinary},
        {0.0, u"0%", u"Hardly", TScoreColour::Ordinary},
    };
    auto engine = EngineWithWordCounts({3});
    for (const TScoreCase& c : cases) {
        engine->Authors()[0]->SetKoef(c.Koef);
        TGrid grid = NewResultGrid();
        std::vector<TAuthorChoice> choices;
        FillResultTable(*engine, grid, choices);
        EXPECT_EQ(grid.Cell(1, 1), c.Percent) << c.Koef;
        EXPECT_EQ(grid.Cell(2, 1), c.Verdict) << c.Koef;
        EXPECT_EQ(ResultCellColour(grid, 0, 1), c.Colour) << c.Koef;
        EXPECT_EQ(ResultCellColour(grid, 3, 1), c.Colour) << c.Koef;
    }
}

TEST(ResultTable, RanksCandidatesAndPutsTheTestAuthorLast) {
    auto engine = EngineWithWordCounts({3, 3, 3});
    const double scores[] = {0.2, 0.9, 0.6};
    for (int i = 0; i < 3; ++i) engine->Authors()[i]->SetKoef(scores[i]);
    TGrid grid = NewResultGrid();
    std::vector<TAuthorChoice> choices{{u"stale", 7}};
    FillResultTable(*engine, grid, choices);

    ASSERT_EQ(grid.RowCount(), 5);
    EXPECT_EQ(grid.Cell(0, 0), u"Author");
    EXPECT_EQ(grid.Cell(0, 1), u"C1");
    EXPECT_EQ(grid.Cell(0, 2), u"C2");
    EXPECT_EQ(grid.Cell(0, 3), u"C0");
    EXPECT_EQ(grid.Cell(0, 4), u"Unknown");
    EXPECT_EQ(grid.Cell(1, 4), u"The same as Unknown text");
    EXPECT_EQ(grid.Cell(2, 4), u"The same as Unknown text");
    EXPECT_EQ(ResultCellColour(grid, 0, 4), TScoreColour::Ordinary);
    EXPECT_FLOAT_EQ(grid.RowScore(2), 0.6f);

    // The chooser follows the engine's order, not the ranking.
    ASSERT_EQ(choices.size(), 4u);
    for (int32_t k = 0; k < 4; ++k) {
        EXPECT_EQ(choices[k].EngineIndex, k);
        EXPECT_EQ(choices[k].Name, engine->Authors()[k]->Name());
    }
}

TEST(ResultTable, NotesWordCountsFarFromTheAverage) {
    struct TCase {
        std::vector<int> WordCounts;  // candidate 0 is the one looked at
        const char16_t* Expected;
    };
    const TCase cases[] = {
        {{499, 1501}, u"499  !Too far from average(1000)"},  // ratio above 2
        {{500, 1500}, u"500"},                              // exactly 2
        {{2001, 0}, u"2001  !Too far from average(1000)"},  // below 0.5; 1000.5 rounds to even
        {{2000, 0}, u"2000"},                               // exactly 0.5
        {{0, 2000}, u"0  !Too far from average(1000)"},     // no words
    };
    for (const TCase& c : cases) {
        auto engine = EngineWithWordCounts(c.WordCounts);
        ASSERT_EQ(engine->AverageWordCounts(), 1000);
        engine->Authors()[0]->SetKoef(0.9);  // ranked first
        engine->Authors()[1]->SetKoef(0.1);
        TGrid grid = NewResultGrid();
        std::vector<TAuthorChoice> choices;
        FillResultTable(*engine, grid, choices);
        EXPECT_EQ(grid.Cell(3, 1), c.Expected);
    }
}

TEST(ResultTable, TestAuthorNeverGetsTheNote) {
    auto engine = EngineWithWordCounts({}, 5000);
    TGrid grid = NewResultGrid();
    std::vector<TAuthorChoice> choices;
    FillResultTable(*engine, grid, choices);
    ASSERT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.Cell(0, 1), u"Unknown");
    EXPECT_EQ(grid.Cell(1, 1), u"The same as Unknown text");
    EXPECT_EQ(grid.Cell(3, 1), u"5000");
}

}  // namespace
}  // namespace quillprint
