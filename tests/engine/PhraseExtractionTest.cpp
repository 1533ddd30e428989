// The phrase pass through the engine: the worked three-author example, runs
// of repeated and case-variant words, and which author a phrase is unique to.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineTestHelpers.h"
#include "engine/PhraseOrder.h"
#include "engine/Quillprint.h"

namespace quillprint::testing {
namespace {

std::vector<TPhraseRow> RowsOf(const std::vector<TPhrase*>& phrases) {
    std::vector<TPhraseRow> rows;
    for (const TPhrase* phrase : phrases) rows.push_back(RowOf(*phrase));
    return rows;
}

class WorkedExample : public ::testing::Test {
protected:
    void SetUp() override {
        engine.AddAuthor(u"Author 0", u"i think that we can win now");
        engine.AddAuthor(u"Author 1", u"so we can see it");
        engine.Detect(u"you think that we can try");
    }
    const TAuthor& Author(size_t index) const { return *engine.Authors().at(index); }

    TQuillprint engine{kTestLocale};
};

const std::vector<TPhraseRow> kDiscoveryOrder = {
    {u"can", 1, 3, {1, 1, 1}, -1, 3},
    {u"that", 1, 2, {1, 0, 1}, 0, 2},
    {u"that we", 2, 2, {1, 0, 1}, 0, 2},
    {u"that we can", 3, 2, {1, 0, 1}, 0, 2},
    {u"think", 1, 2, {1, 0, 1}, 0, 2},
    {u"think that", 2, 2, {1, 0, 1}, 0, 2},
    {u"think that we", 3, 2, {1, 0, 1}, 0, 2},
    {u"think that we can", 4, 2, {1, 0, 1}, 0, 2},
    {u"we", 1, 3, {1, 1, 1}, -1, 3},
    {u"we can", 2, 3, {1, 1, 1}, -1, 3},
};

TEST_F(WorkedExample, CorpusAndSortedWordList) {
    EXPECT_EQ(engine.WordsAll().WordCount(), 18);
    EXPECT_EQ(engine.WordsAll().AuthorIndexes(), (std::vector<int32_t>{7, 12}));
    // can, can, can, i, it, now, see, so, that, that, think, think, try, we, we, we, win, you
    EXPECT_EQ(engine.WordsAll().WordsAlphabetic(),
              (std::vector<int32_t>{16, 9, 4, 0, 11, 6, 10, 7, 14, 2, 13, 1, 17, 15, 8, 3, 5, 12}));
}

TEST_F(WorkedExample, AuthorsHoldTheirPhrasesInDiscoveryOrder) {
    EXPECT_EQ(RowsOf(Author(0).Phrases()), kDiscoveryOrder);
    EXPECT_EQ(RowsOf(Author(2).Phrases()), kDiscoveryOrder);
    EXPECT_EQ(ValuesOf(Author(1).Phrases()), (std::vector<std::u16string>{u"can", u"we", u"we can"}));
}

TEST_F(WorkedExample, PartitionSortOrder) {
    std::vector<TPhrase*> phrases = Author(0).Phrases();
    PartitionSortPhrases(phrases);
    EXPECT_EQ(ValuesOf(phrases),
              (std::vector<std::u16string>{u"think that we can", u"that we can", u"think that we", u"we can",
                                           u"think that", u"that we", u"can", u"we", u"that", u"think"}));
}

TEST_F(WorkedExample, SortPhrasesOnAnAuthorKeepsDiscardedPhrases) {
    TAuthor& author = *engine.Authors().at(1);
    author.SortPhrases();
    // Equal phrases "we" and "can" come out in the partition sort's own order.
    EXPECT_EQ(ValuesOf(author.Phrases()), (std::vector<std::u16string>{u"we can", u"we", u"can"}));
    engine.Authors().at(0)->SortPhrases();
    EXPECT_EQ(engine.Authors().at(0)->Phrases().size(), 10u);
}

TEST_F(WorkedExample, ContainmentFilterLeavesFourPhrases) {
    EXPECT_EQ(ValuesOf(engine.Phrases()),
              (std::vector<std::u16string>{u"think that we can", u"we can", u"can", u"we"}));
    std::vector<std::u16string> discarded;
    for (const TPhrase* phrase : Author(0).Phrases())
        if (!phrase->Valid()) discarded.push_back(phrase->Value());
    EXPECT_EQ(discarded, (std::vector<std::u16string>{u"that", u"that we", u"that we can", u"think", u"think that",
                                                      u"think that we"}));
}

// One candidate holding the text, an empty test text.
std::vector<TPhraseRow> PhrasesOfOneText(std::u16string_view text) {
    TQuillprint engine(kTestLocale);
    engine.AddAuthor(u"Only", text);
    engine.Detect(u"");
    return RowsOf(engine.Phrases());
}

TEST(PhraseExtraction, OverlappingInstancesCountSeparately) {
    EXPECT_EQ(PhrasesOfOneText(u"a very very very good day"),
              (std::vector<TPhraseRow>{{u"very very", 2, 2, {2, 0}, 0, 1}, {u"very", 1, 3, {3, 0}, 0, 1}}));
}

TEST(PhraseExtraction, CaseVariantsSplitRuns) {
    // été, Été, été at 1, 3, 5 sort as 5, 3, 1: no identical neighbours.
    TQuillprint engine(kTestLocale);
    engine.AddAuthor(u"Only", u"a été b Été c été");
    engine.Detect(u"");
    // a, b, c, then the three accented words.
    EXPECT_EQ(engine.WordsAll().WordsAlphabetic(), (std::vector<int32_t>{0, 2, 4, 5, 3, 1}));
    EXPECT_TRUE(engine.Phrases().empty());
}

TEST(PhraseExtraction, CaseVariantInFrontLeavesARun) {
    // Été, été, été at 1, 3, 5: 5 and 3 stand together and form a run.
    EXPECT_EQ(PhrasesOfOneText(u"a Été b été c été"), (std::vector<TPhraseRow>{{u"été", 1, 2, {2, 0}, 0, 1}}));
}

TEST(PhraseExtraction, TinyCorporaGiveNoPhrase) {
    EXPECT_TRUE(PhrasesOfOneText(u"").empty());
    EXPECT_TRUE(PhrasesOfOneText(u"word").empty());
}

TEST(PhraseExtraction, EmptyItemsAtTheEndOfTheCorpusEnd) {
    // Two empty quoted items at the very end keep extending to identical
    // strings; the pass still ends, with the empty word as the only phrase.
    TQuillprint engine(kTestLocale);
    engine.AddAuthor(u"Only", u"");
    engine.Detect(u"a \"\" \"\"");
    EXPECT_EQ(RowsOf(engine.Phrases()), (std::vector<TPhraseRow>{{u"", 1, 2, {0, 2}, -1, 1}}));
}

TEST(PhraseExtraction, PhraseEndingAnAuthorCountsForThatAuthor) {
    TQuillprint engine(kTestLocale);
    engine.AddAuthor(u"First", u"x red fox");
    engine.AddAuthor(u"Second", u"red fox y");
    engine.Detect(u"");
    EXPECT_EQ(RowsOf(engine.Phrases()), (std::vector<TPhraseRow>{{u"red fox", 2, 2, {1, 1, 0}, -1, 2}}));
}

struct TUniqueCase {
    const char* Name;
    std::vector<std::u16string> Candidates;
    std::u16string Test;
    std::vector<int32_t> Counts;
    int32_t Unique;
    int32_t CountAuthors;
};

class UniqueAuthorTest : public ::testing::TestWithParam<TUniqueCase> {};

TEST_P(UniqueAuthorTest, NamesTheOnlyCandidate) {
    TQuillprint engine(kTestLocale);
    for (const std::u16string& text : GetParam().Candidates) engine.AddAuthor(u"Candidate", text);
    engine.Detect(GetParam().Test);
    ASSERT_EQ(engine.Phrases().size(), 1u);
    const TPhrase& phrase = *engine.Phrases().front();
    EXPECT_EQ(phrase.Value(), u"z");
    EXPECT_EQ(RowOf(phrase).Counts, GetParam().Counts);
    EXPECT_EQ(phrase.Unique(), GetParam().Unique);
    EXPECT_EQ(phrase.CountAuthors(), GetParam().CountAuthors);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UniqueAuthorTest,
    ::testing::Values(TUniqueCase{"TestTextOnly", {u"a b"}, u"z z", {0, 2}, -1, 1},
                      TUniqueCase{"OneCandidateOnly", {u"z z"}, u"a", {2, 0}, 0, 1},
                      TUniqueCase{"TwoCandidates", {u"z", u"z"}, u"z", {1, 1, 1}, -1, 3},
                      TUniqueCase{"TwoCandidatesNoTest", {u"z", u"z"}, u"a", {1, 1, 0}, -1, 2},
                      TUniqueCase{"SecondCandidateAndTest", {u"a", u"z"}, u"z", {0, 1, 1}, 1, 2},
                      TUniqueCase{"CandidateAfterOneWithoutWords", {u"", u"z"}, u"z", {0, 1, 1}, 1, 2}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace quillprint::testing
