// Copied passages between the test text and the candidates' texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineTestHelpers.h"
#include "engine/Collation.h"
#include "engine/CopyFinder.h"

namespace quillprint::testing {
namespace {

// `count` words that occur nowhere else: "<prefix>0", "<prefix>1", ...
TWordList Words(const std::u16string& prefix, int32_t count) {
    TWordList words;
    for (int32_t i = 0; i < count; ++i) words.push_back(prefix + FromUtf8(std::to_string(i)));
    return words;
}

TWordList Join(std::initializer_list<TWordList> parts) {
    TWordList words;
    for (const TWordList& part : parts) words.insert(words.end(), part.begin(), part.end());
    return words;
}

class CopyFinder : public ::testing::Test {
protected:
    std::vector<TCopiedPassage> Find(const std::vector<TWordList>& candidates, const TWordList& test,
                                     int32_t minWords = kDefaultCopyWords) {
        const std::vector<TWordSpan> lists(candidates.begin(), candidates.end());
        return FindCopiedPassages(lists, test, FCollation, minWords);
    }
    TCollation FCollation{kTestLocale};
};

struct TPlanted {
    const char* Name;
    int32_t TestBefore;       // words of the test text before the passage
    int32_t TestAfter;
    int32_t CandidateBefore;  // words of candidate 1 before it
    int32_t CandidateAfter;
    int32_t PassageWords;
    bool Listed;
};

class PlantedPassage : public CopyFinder, public ::testing::WithParamInterface<TPlanted> {};

// Candidate 1 holds the passage; candidate 0 holds other words only.
TEST_P(PlantedPassage, IsFoundWithItsPlacesAndLength) {
    const TPlanted& c = GetParam();
    const TWordList passage = Words(u"p", c.PassageWords);
    const TWordList test = Join({Words(u"t", c.TestBefore), passage, Words(u"u", c.TestAfter)});
    const TWordList candidate = Join({Words(u"c", c.CandidateBefore), passage, Words(u"d", c.CandidateAfter)});
    const auto found = Find({Words(u"x", 80), candidate}, test);
    if (!c.Listed) {
        EXPECT_TRUE(found.empty());
        return;
    }
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0], (TCopiedPassage{1, c.CandidateBefore, c.TestBefore, c.PassageWords}));
}

INSTANTIATE_TEST_SUITE_P(Places, PlantedPassage,
                         ::testing::Values(TPlanted{"AtTheStart", 0, 30, 0, 30, 60, true},
                                           TPlanted{"InTheMiddle", 40, 30, 25, 35, 60, true},
                                           TPlanted{"AtTheEnd", 40, 0, 25, 0, 60, true},
                                           TPlanted{"WholeTexts", 0, 0, 0, 0, 75, true},
                                           TPlanted{"ExactlyTheMinimum", 10, 10, 10, 10, 50, true},
                                           TPlanted{"OneWordShort", 10, 10, 10, 10, 49, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

// The collation ignores letter case (also outside A to Z, which the
// normalisation leaves alone) and canonically equivalent spellings, but not
// accents: "café" and "cafe" end a passage.
TEST_F(CopyFinder, ComparesWordsByTheCollation) {
    TWordList passage = Words(u"p", 60);
    TWordList variant = passage;
    passage[10] = u"été";
    variant[10] = u"ÉTÉ";
    passage[20] = u"caf\u00E9";   // precomposed
    variant[20] = u"cafe\u0301";  // e and a combining accent
    const TWordList test = Join({Words(u"t", 5), passage, Words(u"u", 5)});
    const auto found = Find({Join({Words(u"c", 3), variant})}, test);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0], (TCopiedPassage{0, 3, 5, 60}));

    variant[30] = u"cafe";
    passage[30] = u"caf\u00E9";
    const TWordList broken = Join({Words(u"t", 5), passage, Words(u"u", 5)});
    EXPECT_EQ(Find({Join({Words(u"c", 3), variant})}, broken, 20),
              (std::vector<TCopiedPassage>{{0, 3, 5, 30}, {0, 34, 36, 29}}));
}

// The same passage in two candidates is listed for each; a candidate that
// holds two pieces of the test text gives two passages, in test order; a
// passage never runs from one candidate's text into the next.
TEST_F(CopyFinder, ListsEveryCandidateAndEveryPieceInTestOrder) {
    const TWordList first = Words(u"a", 60);
    const TWordList second = Words(u"b", 55);
    const TWordList test = Join({first, Words(u"t", 4), second});
    const auto found = Find({Join({second, Words(u"x", 3), first}), Join({Words(u"y", 2), first})}, test);
    EXPECT_EQ(found, (std::vector<TCopiedPassage>{{0, 58, 0, 60}, {1, 2, 0, 60}, {0, 0, 64, 55}}));

    const TWordList split = Join({Words(u"s", 30), Words(u"r", 30)});
    EXPECT_TRUE(Find({Words(u"s", 30), Words(u"r", 30)}, split).empty());
}

TEST_F(CopyFinder, OverlappingPassagesCoverTheirUnionOnce) {
    // The test text holds a b c; one candidate a b, the other b c.
    const TWordList a = Words(u"a", 30), b = Words(u"b", 30), c = Words(u"c", 30);
    const auto found = Find({Join({a, b}), Join({b, c})}, Join({a, b, c}));
    ASSERT_EQ(found, (std::vector<TCopiedPassage>{{0, 0, 0, 60}, {1, 0, 30, 60}}));
    const std::vector<uint8_t> covered = CoveredWords(found, 95);
    EXPECT_EQ(std::count(covered.begin(), covered.end(), 1), 90);
    EXPECT_EQ(covered[89], 1);
    EXPECT_EQ(covered[90], 0);
}

TEST_F(CopyFinder, NothingToFindWithoutCandidatesOrText) {
    EXPECT_TRUE(Find({}, Words(u"p", 60)).empty());
    EXPECT_TRUE(Find({Words(u"p", 60)}, {}).empty());
    EXPECT_TRUE(Find({{}}, Words(u"p", 60)).empty());
}

}  // namespace
}  // namespace quillprint::testing
