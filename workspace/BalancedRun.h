// A balanced calculation: several engine runs on equal-size samples of the
// candidates, their scores averaged.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Quillprint.h"
#include "workspace/BalancedSample.h"
#include "workspace/Calculation.h"
#include "workspace/PreparedCandidates.h"

namespace quillprint {

struct TBalancedOutcome {
    // The engine of the first draw; "Analysis" and "Stylometry" show it.
    std::unique_ptr<TQuillprint> FirstDraw;
    // Per candidate, in engine order: the mean score over the draws and the
    // number of draws that ranked it first.
    std::vector<double> MeanScores;
    std::vector<int32_t> DrawsWon;
    // Every draw's scores, per candidate in engine order (one draw when
    // nobody had to be cut, since every draw would be the same run).
    std::vector<std::vector<double>> DrawScores;
    int64_t Budget = 0;
};

// kBalancedDraws runs of a fresh engine, each on one draw of samples and the
// full test text (each leaving out the copies of at least `leaveOutCopies`
// words it finds in its samples; 0: none). Errors of the engine reach the
// caller. A draw whose top score is shared by several candidates is won by
// none of them. The draws run side by side on hooks.Jobs threads, with the
// result of one after another.
TBalancedOutcome RunBalanced(const std::vector<TCandidateLines>& candidates, std::u16string_view test,
                             const std::string& localeName, int32_t leaveOutCopies = 0,
                             const TRunHooks& hooks = {});
// The same over candidates prepared with their units.
TBalancedOutcome RunBalanced(const TPreparedSet& candidates, std::u16string_view test, const std::string& localeName,
                             int32_t leaveOutCopies = 0, const TRunHooks& hooks = {});

// The candidate the results table ranks first: the highest score, the
// earlier one of equal scores. -1 without candidates.
int32_t RankedFirst(const std::vector<double>& scores);
// The candidate with the highest score when no other has that score too;
// -1 when the top score is shared or there are no candidates.
int32_t SoleBest(const std::vector<double>& scores);
// 1-based place of `candidate` in that ranking.
int32_t RankOf(const std::vector<double>& scores, size_t candidate);

// "Name: score" lines, each ended by CR, in the engine's number format.
std::u16string ScoreSummary(const std::vector<TCandidateLines>& candidates, const std::vector<double>& scores,
                            const std::string& localeName);
std::u16string ScoreSummary(const TPreparedSet& candidates, const std::vector<double>& scores,
                            const std::string& localeName);

}  // namespace quillprint
