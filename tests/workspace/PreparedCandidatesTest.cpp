// Prepared candidates give every calculation exactly what the candidates'
// lines give, shared by any number of runs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SampleText.h"
#include "engine/Text.h"
#include "workspace/Calculation.h"
#include "workspace/PreparedCandidates.h"
#include "workspace/TextReader.h"

namespace quillprint {
namespace {

// Writers of different sizes (so that a balanced run cuts the last one),
// one with a quoted item running over two lines and over a text's end.
std::vector<TCandidateLines> Candidates() {
    std::vector<TCandidateLines> candidates;
    for (uint32_t seed = 1; seed <= 4; ++seed) {
        TCandidateLines candidate{u"Writer " + FromUtf8(std::to_string(seed)),
                                  DecodeText(testing::Sample(seed + 6, seed == 4 ? 600 : 100), ""),
                                  {0},
                                  {}};
        candidates.push_back(std::move(candidate));
    }
    TLines& quoted = candidates[1].Lines;
    quoted[3] = u"we are told \"that it is";
    quoted[4] = u"of great\" moment - to a free people";
    candidates[1].TextStarts = {0, 100};
    quoted[99] += u" \"unclosed at the end";
    return candidates;
}

TEST(PreparedCandidates, GiveTheSameResultAsTheirLines) {
    const std::vector<TCandidateLines> candidates = Candidates();
    const std::u16string test = FromUtf8(testing::Sample(2, 40)) + u"\"that it is of great\" moment";
    for (const bool balance : {false, true}) {
        for (const unsigned jobs : {1u, 3u}) {
            SCOPED_TRACE(std::string(balance ? "balanced, " : "plain, ") + std::to_string(jobs) + " jobs");
            const TRunHooks hooks{{}, {}, {}, jobs};
            const TCalculationResult fromLines = RunCalculation(candidates, test, "en_US", balance, 0, hooks);
            ASSERT_EQ(fromLines.DrawScores.size(), balance ? 9u : 0u);
            const TPreparedSet prepared = PrepareCandidates(candidates, balance, jobs);
            // Twice over the same set: nothing of it is used up.
            for (int run = 0; run < 2; ++run) {
                const TCalculationResult fromPrepared =
                    RunPreparedCalculation(prepared, test, "en_US", balance, 0, hooks);
                EXPECT_EQ(fromPrepared.Summary, fromLines.Summary);
                EXPECT_EQ(fromPrepared.CandidateScores(), fromLines.CandidateScores());
                EXPECT_EQ(fromPrepared.DrawScores, fromLines.DrawScores);
                ASSERT_EQ(fromPrepared.Engine->Authors().size(), fromLines.Engine->Authors().size());
                for (size_t a = 0; a < fromLines.Engine->Authors().size(); ++a)
                    EXPECT_EQ(ListOf(fromPrepared.Engine->Authors()[a]->Text()),
                              ListOf(fromLines.Engine->Authors()[a]->Text()));
                EXPECT_EQ(fromPrepared.Engine->Phrases().size(), fromLines.Engine->Phrases().size());
            }
        }
    }
}

TEST(PreparedCandidates, ABalancedRunNeedsTheirUnits) {
    EXPECT_THROW(RunPreparedCalculation(PrepareCandidates(Candidates(), false), u"we are told", "en_US", true),
                 std::logic_error);
}

}  // namespace
}  // namespace quillprint
