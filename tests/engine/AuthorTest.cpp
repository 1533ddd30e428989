#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "EngineTestHelpers.h"
#include "engine/Author.h"
#include "engine/Phrase.h"
#include "engine/Prefault.h"
#include "engine/Quillprint.h"

namespace quillprint::testing {
namespace {

struct TPositionCase {
    std::vector<int32_t> AuthorIndexes;
    int32_t Position;
    int32_t Author;
};

class AuthorByPositionTest : public ::testing::TestWithParam<TPositionCase> {};

TEST_P(AuthorByPositionTest, FindsTheAuthorOfThePositionBefore) {
    TWordsAll all(u"All Words", u"");
    all.AuthorIndexes() = GetParam().AuthorIndexes;
    EXPECT_EQ(all.AuthorByPosition(GetParam().Position), GetParam().Author);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AuthorByPositionTest,
    ::testing::Values(
        // Starts 7 and 12: 0..7 belong to author 0, 8..12 to 1, beyond to 2.
        TPositionCase{{7, 12}, 0, 0}, TPositionCase{{7, 12}, 7, 0}, TPositionCase{{7, 12}, 8, 1},
        TPositionCase{{7, 12}, 12, 1}, TPositionCase{{7, 12}, 13, 2}, TPositionCase{{7, 12}, 1000, 2},
        // Author 1 has no words.
        TPositionCase{{5, 5}, 5, 0}, TPositionCase{{5, 5}, 6, 2},
        // A first author without words: every position is past its start.
        TPositionCase{{0, 3}, 1, 1}, TPositionCase{{0, 3}, 4, 2},
        // A single author.
        TPositionCase{{}, 0, 0}, TPositionCase{{}, 99, 0}));

TEST(Author, SplitsItsTextWithoutNormalising) {
    const TAuthor author(u"Anna", u"The  Cat, \"a b\"");
    EXPECT_EQ(author.Name(), u"Anna");
    EXPECT_EQ(ListOf(author.Text()), (TWordList{u"The", u"Cat,", u"a b"}));
    EXPECT_EQ(author.WordCount(), 3);
    EXPECT_EQ(author.Koef(), 0.0);
    EXPECT_EQ(author.UniqueNum(), 0);
    EXPECT_TRUE(author.Phrases().empty());
    EXPECT_FALSE(author.IsAllWords());
}

TEST(Author, ClearKeepsEverything) {
    TAuthor author(u"Anna", u"one two");
    TPhrase phrase;
    author.Phrases().push_back(&phrase);
    author.SetKoef(0.5);
    author.Clear();
    EXPECT_EQ(author.Name(), u"Anna");
    EXPECT_EQ(author.WordCount(), 2);
    EXPECT_EQ(author.Phrases().size(), 1u);
    EXPECT_EQ(author.Koef(), 0.5);
}

TEST(WordsAll, IsTheCombinedCorpus) {
    const TWordsAll all(u"All Words", u"");
    EXPECT_TRUE(all.IsAllWords());
    EXPECT_EQ(all.WordCount(), 0);
    EXPECT_TRUE(all.AuthorIndexes().empty());
}

TEST(Phrase, StartsEmptyAndValid) {
    const TPhrase phrase;
    EXPECT_EQ(phrase.Unique(), -1);
    EXPECT_TRUE(phrase.Valid());
    EXPECT_EQ(phrase.CountAuthors(), 0);
    EXPECT_TRUE(phrase.AuthorsCounts().empty());
    EXPECT_EQ(phrase.CountInstances(), 0);
    EXPECT_EQ(phrase.Value(), u"");
}

TEST(Phrase, RebuildsItsTextFromTheCorpus) {
    const TWordList corpus{u"a", u"b c", u"", u"d"};
    const TPhrase phrase(&corpus, 1, 3);
    EXPECT_EQ(phrase.Value(), u"b c  d");
    EXPECT_EQ(phrase.CountWords(), 3);
}

TEST(Phrase, CountOutsideTheListIsAnError) {
    TPhrase phrase;
    const TAuthorCount counts[2] = {{0, 4}, {1, 5}};
    phrase.SetAuthorsCounts(counts, 2);
    EXPECT_EQ(phrase.AuthorsCount(1), 5);
    EXPECT_THROW(phrase.AuthorsCount(2), std::out_of_range);
    EXPECT_THROW(phrase.AuthorsCount(-1), std::out_of_range);
}

// Every word is held once: after Detect each author's words are its own
// stretch of the combined corpus, in author order, the test text's without
// the passages it copies when those are left out.
TEST(Author, AfterDetectItsWordsAreItsStretchOfTheCombinedCorpus) {
    struct TCase {
        const char* Name;
        int32_t LeaveOutCopies;
        TWordList TestWords;
    };
    for (const TCase& run :
         {TCase{"whole test text", 0, {u"x", u"a", u"b", u"c", u"d", u"y"}}, TCase{"copy left out", 4, {u"x", u"y"}}}) {
        TQuillprint engine(kTestLocale);
        engine.SetLeaveOutCopies(run.LeaveOutCopies);
        engine.AddAuthor(u"Anna", u"A b, c d.");
        engine.AddAuthor(u"Boris", u"e a b c d f");
        engine.Detect(u"x a b c d y");
        const TWordList& all = engine.WordsAll().Words();
        size_t begin = 0;
        for (const auto& author : engine.Authors()) {
            EXPECT_EQ(author->Text().data(), all.data() + begin) << run.Name;
            begin += author->Text().size();
        }
        EXPECT_EQ(begin, all.size()) << run.Name;
        EXPECT_EQ(ListOf(engine.Authors()[0]->Text()), (TWordList{u"a", u"b", u"c", u"d"})) << run.Name;
        EXPECT_EQ(ListOf(engine.Authors()[1]->Text()), (TWordList{u"e", u"a", u"b", u"c", u"d", u"f"})) << run.Name;
        EXPECT_EQ(ListOf(engine.Test()->Text()), run.TestWords) << run.Name;
    }
}

TEST(Phrase, KeepsOnlyTheAuthorsThatHoldIt) {
    // Authors 1 and 3 of five hold the phrase; the others read as 0.
    TPhrase phrase;
    const TAuthorCount counts[2] = {{1, 2}, {3, 7}};
    phrase.SetAuthorsCounts(counts, 5);
    EXPECT_EQ(phrase.AuthorsCounts(), (std::vector<int32_t>{0, 2, 0, 7, 0}));
    for (const auto& [author, count] : {std::pair{0, 0}, {1, 2}, {2, 0}, {3, 7}, {4, 0}})
        EXPECT_EQ(phrase.AuthorsCount(author), count) << author;
    EXPECT_THROW(phrase.AuthorsCount(5), std::out_of_range);
}

// Memory made ready for the combined corpus keeps what it holds, in a
// stretch that begins and ends inside pages and is large enough to be
// prepared in parts.
TEST(Prefault, ChangesNoByte) {
    std::vector<uint8_t> bytes((size_t{24} << 20) + 123);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + i / 4096);
    const std::vector<uint8_t> before = bytes;
    PrefaultMemory(ThreadedParts(3), bytes.data() + 5, bytes.size() - 10);
    PrefaultMemory({}, bytes.data(), bytes.size());
    EXPECT_TRUE(bytes == before);
}

}  // namespace
}  // namespace quillprint::testing
