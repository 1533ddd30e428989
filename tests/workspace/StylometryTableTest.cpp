#include <gtest/gtest.h>

#include <deque>
#include <sstream>

#include "engine/Author.h"
#include "engine/Text.h"
#include "workspace/StylometryTable.h"

namespace quillprint {
namespace {

// An author whose phrase list is made by hand: phrase texts from a corpus of
// their own, counts set directly.
class StylometryTable : public ::testing::Test {
protected:
    // Appends a phrase of the given words, used `instances` times over all
    // texts, by `authors` authors, `own` times by this author.
    void AddPhrase(const std::u16string& words, int32_t instances, bool valid = true, int32_t authors = 2,
                   int32_t own = 1) {
        std::vector<std::u16string> split;
        std::u16string word;
        for (const char16_t c : words + u" ") {
            if (c == u' ') {
                split.push_back(word);
                word.clear();
            } else {
                word += c;
            }
        }
        const auto start = static_cast<int32_t>(Corpus.size());
        Corpus.insert(Corpus.end(), split.begin(), split.end());
        TPhrase& phrase = Phrases.emplace_back(&Corpus, start, static_cast<int32_t>(split.size()));
        auto& counts = Counts.emplace_back();
        if (own > 0) counts.push_back({0, own});
        if (instances > own) counts.push_back({1, instances - own});
        phrase.SetAuthorsCounts(counts, 2);
        phrase.SetCountInstances(instances);
        phrase.SetCountAuthors(authors);
        phrase.SetValid(valid);
        Author.Phrases().push_back(&phrase);
    }

    std::vector<std::u16string> Shown() {
        std::vector<std::u16string> shown;
        const int32_t written = FillStylometry(Author, 0, Grid);
        for (int32_t row = 1; row <= written; ++row) shown.push_back(Grid.Cell(0, row));
        return shown;
    }

    TWordList Corpus;
    std::deque<TPhrase> Phrases;
    std::deque<std::vector<TAuthorCount>> Counts;
    TAuthor Author{u"Alpha", u""};
    TGrid Grid = NewStylometryGrid();
};

using TTexts = std::vector<std::u16string>;

TEST_F(StylometryTable, HidesAShorterPhraseInsideALongerOneOfEqualFrequency) {
    struct TCase {
        const char16_t* Longer;
        int32_t ShorterInstances;
        bool ShorterShown;
    };
    for (const TCase c : {TCase{u"x a b c", 4, false}, {u"x a b c", 5, true}, {u"xa b y", 4, true}}) {
        Author.Phrases().clear();
        AddPhrase(u"a b", c.ShorterInstances);
        AddPhrase(c.Longer, 4);
        const auto shown = Shown();
        EXPECT_EQ(shown.front(), c.Longer);
        EXPECT_EQ(shown.size() == 2, c.ShorterShown) << ToUtf8(c.Longer) << " " << c.ShorterInstances;
        EXPECT_EQ(Grid.RowCount(), 3);
        if (!c.ShorterShown) {
            EXPECT_EQ(Grid.Cell(0, 2), u"");  // the unwritten row is blank
        }
    }
}

TEST_F(StylometryTable, InvalidPhraseIsNotShownButStillHides) {
    AddPhrase(u"p q r", 6, false);
    AddPhrase(u"p q", 6);
    AddPhrase(u"s t", 2);
    EXPECT_EQ(Shown(), TTexts{u"s t"});
}

TEST_F(StylometryTable, LooksBackAtMostOneHundredPhrases) {
    for (const int fillers : {99, 100}) {
        Author.Phrases().clear();
        AddPhrase(u"x a b c", 4);
        for (int i = 0; i < fillers; ++i) AddPhrase(u"f g h" + FromUtf8(std::to_string(i)), 4);
        AddPhrase(u"a b", 4);
        const auto shown = Shown();
        EXPECT_EQ(shown.back() == u"a b", fillers == 100) << fillers << " phrases between";
    }
}

TEST_F(StylometryTable, WritesCountsOfTheChosenAuthorAndOtherAuthors) {
    AddPhrase(u"m n", 7, true, 3, 5);
    FillStylometry(Author, 0, Grid);
    EXPECT_EQ(Grid.Cell(1, 1), u"5");
    EXPECT_EQ(Grid.Cell(2, 1), u"2");
    FillStylometry(Author, 1, Grid);
    EXPECT_EQ(Grid.Cell(1, 1), u"2");
}

TEST_F(StylometryTable, StopsAt3000RowsInA3002RowTable) {
    for (int i = 0; i < 3500; ++i) AddPhrase(u"w" + FromUtf8(std::to_string(i)) + u" v", 2);
    EXPECT_EQ(Shown().size(), 3000u);
    EXPECT_EQ(Grid.RowCount(), 3002);
    EXPECT_EQ(Grid.Cell(0, 3001), u"");
}

TEST_F(StylometryTable, AuthorWithoutPhrasesGivesTheHeaderOnly) {
    Grid.SetCell(0, 1, u"old");
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(Grid.RowCount(), 1);
    EXPECT_EQ(Grid.Cell(0, 0), u"Phrase");
}

}  // namespace
}  // namespace quillprint
