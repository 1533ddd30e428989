#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "engine/Normalization.h"
#include "engine/Text.h"
#include "engine/WordSplitter.h"
#include "workspace/BalancedSample.h"
#include "workspace/SplitMix64.h"

namespace quillprint {
namespace {

// A line of `words` words; the punctuation and the " - " are there because
// the engine's word count, not a count of blanks, decides.
std::u16string Line(int words, int tag) {
    std::string text;
    for (int i = 0; i < words; ++i) text += "w" + std::to_string(tag) + "x" + std::to_string(i) + (i % 5 == 4 ? ", " : " ");
    return FromUtf8(text + " - end.");  // " - " joins the last word onto "end"
}

// A candidate with one text per entry of `textWords`, each text in lines of
// at most 17 words.
TCandidateLines Candidate(const std::u16string& name, const std::vector<int>& textWords) {
    TCandidateLines candidate{name, {}, {}, {}};
    int tag = 0;
    for (const int words : textWords) {
        candidate.TextStarts.push_back(candidate.Lines.size());
        for (int left = words; left > 0; left -= 17) candidate.Lines.push_back(Line(std::min(left, 17) - 1, tag++));
    }
    return candidate;
}

int64_t WordsOf(const std::u16string& text) { return static_cast<int64_t>(SplitWords(NormalizeText(text)).size()); }

TEST(SplitMix64, FollowsTheReferenceSequenceWhateverTheLibrary) {
    // The published SplitMix64 outputs for seed 1234567.
    TSplitMix64 random(1234567);
    EXPECT_EQ(random.Next(), 6457827717110365317ull);
    EXPECT_EQ(random.Next(), 3203168211198807973ull);
    EXPECT_EQ(random.Next(), 9817491932198370423ull);
    EXPECT_EQ(random.Next(), 4593380528125082431ull);
    EXPECT_EQ(random.Next(), 16408922859458223821ull);

    TSplitMix64 bounded(7);
    std::vector<int> seen(6, 0);
    for (int i = 0; i < 600; ++i) ++seen[bounded.Below(6)];
    for (const int count : seen) EXPECT_GT(count, 50);  // every value comes up
    std::vector<int> items(50);
    std::iota(items.begin(), items.end(), 0);
    std::vector<int> shuffled = items;
    bounded.Shuffle(shuffled);
    EXPECT_NE(shuffled, items);
    std::sort(shuffled.begin(), shuffled.end());
    EXPECT_EQ(shuffled, items);
}

TEST(SampleUnits, ATextPerUnitOrBlocksOfAboutTwoHundredWordsForASingleText) {
    const TCandidateLines several = Candidate(u"Several", {340, 0, 170, 51});
    const auto texts = SampleUnits(several);
    ASSERT_EQ(texts.size(), 3u);  // the empty text is no unit
    EXPECT_EQ(texts[0].Words, 340);
    EXPECT_EQ(texts[1].Words, 170);
    EXPECT_EQ(texts[2].End, several.Lines.size());

    const TCandidateLines single = Candidate(u"Single", {1000});
    const auto blocks = SampleUnits(single);
    ASSERT_EQ(blocks.size(), 5u);  // 12 lines of 17 words make 204
    for (size_t i = 0; i + 1 < blocks.size(); ++i) {
        EXPECT_EQ(blocks[i].Words, 204);
        EXPECT_EQ(blocks[i].End, blocks[i + 1].Begin);  // consecutive, nothing left out
    }
    EXPECT_EQ(blocks.back().Words, 1000 - 4 * 204);
    EXPECT_EQ(blocks.back().End, single.Lines.size());

    // Lines held back at the end belong to no unit.
    TCandidateLines shortened = several;
    shortened.Lines.resize(several.Lines.size() - 3);
    const auto left = SampleUnits(shortened);
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left.back().End, shortened.Lines.size());
}

TEST(BalancedSampler, BudgetIsTheSmallestCandidateButAtLeastFiveThousandWords) {
    struct TCase {
        std::vector<std::vector<int>> Candidates;
        int64_t Budget;
    };
    const TCase cases[] = {
        {{{3000}, {9000, 9000}}, 5000},
        {{{4000, 4000}, {9000, 9000}, {30000}}, 8000},
        {{{0}, {7000}}, 5000},
        {{{6000, 6000}}, 12000},
    };
    for (const TCase& c : cases) {
        std::vector<TCandidateLines> candidates;
        for (const auto& texts : c.Candidates) candidates.push_back(Candidate(u"C", texts));
        EXPECT_EQ(TBalancedSampler(candidates).Budget(), c.Budget) << candidates.size() << " candidates";
    }
}

class EqualSizeSamples : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<int> papers;
        for (int i = 0; i < 40; ++i) papers.push_back(300 + 97 * (i % 13));
        Candidates.push_back(Candidate(u"Many texts", papers));
        Candidates.push_back(Candidate(u"One long text", {40000}));
        Candidates.push_back(Candidate(u"Small", {2500, 2600}));  // below the budget
        Candidates.push_back(Candidate(u"Middle", {3000, 3000, 3000}));
    }
    std::vector<TCandidateLines> Candidates;
};

TEST_F(EqualSizeSamples, EverySampleReachesTheBudgetAndExceedsItByLessThanOneUnit) {
    const TBalancedSampler sampler(Candidates);
    ASSERT_EQ(sampler.Budget(), 5100);
    ASSERT_TRUE(sampler.DrawsDiffer());
    for (int32_t draw = 0; draw < kBalancedDraws; ++draw) {
        const auto chosen = sampler.Draw(draw);
        ASSERT_EQ(chosen.size(), Candidates.size());
        for (size_t c = 0; c < Candidates.size(); ++c) {
            const auto& units = sampler.Units(c);
            EXPECT_TRUE(std::is_sorted(chosen[c].begin(), chosen[c].end()));
            int64_t words = 0, largest = 0;
            for (const size_t unit : chosen[c]) {
                words += units[unit].Words;
                largest = std::max(largest, units[unit].Words);
            }
            // The sample the engine receives has exactly these words.
            EXPECT_EQ(WordsOf(sampler.SampleText(c, chosen[c])), words);
            if (sampler.Words(c) <= sampler.Budget()) {
                EXPECT_EQ(chosen[c].size(), units.size()) << "all of a small candidate, every time";
                EXPECT_EQ(sampler.SampleText(c, chosen[c]), JoinLines(Candidates[c].Lines));
                continue;
            }
            EXPECT_GE(words, sampler.Budget()) << "draw " << draw << " candidate " << c;
            EXPECT_LT(words - largest, sampler.Budget()) << "draw " << draw << " candidate " << c;
        }
    }
}

TEST_F(EqualSizeSamples, DrawsAreRandomButTheSameProjectAlwaysGivesTheSameDraws) {
    const TBalancedSampler sampler(Candidates);
    const std::vector<TCandidateLines> copy = Candidates;
    const TBalancedSampler again(copy);
    EXPECT_EQ(again.Seed(), sampler.Seed());
    for (int32_t draw = 0; draw < kBalancedDraws; ++draw) EXPECT_EQ(again.Draw(draw), sampler.Draw(draw));
    EXPECT_NE(sampler.Draw(0)[0], sampler.Draw(1)[0]);
    EXPECT_NE(sampler.Draw(0)[1], sampler.Draw(1)[1]);

    // Other candidates, other draws.
    std::vector<TCandidateLines> renamed = Candidates;
    renamed[0].Name = u"Someone else";
    EXPECT_NE(TBalancedSampler(renamed).Seed(), sampler.Seed());
}

TEST(BalancedSampler, NoDrawsDifferWhenEveryCandidateIsWithinTheBudget) {
    const std::vector<TCandidateLines> candidates{Candidate(u"A", {1200, 800}), Candidate(u"B", {4999})};
    EXPECT_FALSE(TBalancedSampler(candidates).DrawsDiffer());
}

}  // namespace
}  // namespace quillprint
