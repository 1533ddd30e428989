#include "workspace/BalancedRun.h"

#include <algorithm>
#include <atomic>

#include "engine/ScoreFormat.h"
#include "workspace/Calculation.h"
#include "workspace/JobPool.h"

namespace quillprint {

namespace {

std::unique_ptr<TQuillprint> RunDraw(const TBalancedSampler& sampler, int32_t draw, std::u16string_view test,
                                     const TPreparedSet& candidates, const std::string& localeName,
                                     int32_t leaveOutCopies, const TRunHooks& hooks) {
    auto engine = NewEngine(localeName, hooks);
    engine->SetLeaveOutCopies(leaveOutCopies);
    const auto chosen = sampler.Draw(draw);
    for (size_t c = 0; c < candidates.size(); ++c)
        engine->AddAuthor(candidates[c]->Name(), sampler.SampleText(c, chosen[c]));
    engine->Detect(test);
    return engine;
}

}  // namespace

int32_t RankedFirst(const std::vector<double>& scores) {
    int32_t first = -1;
    for (size_t c = 0; c < scores.size(); ++c)
        if (first < 0 || scores[c] > scores[static_cast<size_t>(first)]) first = static_cast<int32_t>(c);
    return first;
}

int32_t SoleBest(const std::vector<double>& scores) {
    const int32_t first = RankedFirst(scores);
    if (first < 0) return -1;
    const double top = scores[static_cast<size_t>(first)];
    return std::count(scores.begin(), scores.end(), top) == 1 ? first : -1;
}

int32_t RankOf(const std::vector<double>& scores, size_t candidate) {
    int32_t rank = 1;
    for (size_t c = 0; c < scores.size(); ++c)
        if (scores[c] > scores[candidate] || (c < candidate && scores[c] == scores[candidate])) ++rank;
    return rank;
}

TBalancedOutcome RunBalanced(const std::vector<TCandidateLines>& candidates, std::u16string_view test,
                             const std::string& localeName, int32_t leaveOutCopies, const TRunHooks& hooks) {
    return RunBalanced(PrepareCandidates(candidates, true, hooks.Jobs, hooks.Stop, {hooks.Splitting, localeName}), test,
                       localeName, leaveOutCopies, hooks);
}

TBalancedOutcome RunBalanced(const TPreparedSet& candidates, std::u16string_view test, const std::string& localeName,
                             int32_t leaveOutCopies, const TRunHooks& hooks) {
    const TBalancedSampler sampler(candidates);
    TBalancedOutcome outcome;
    outcome.Budget = sampler.Budget();
    outcome.DrawsWon.assign(candidates.size(), 0);
    std::vector<long double> sums(candidates.size(), 0);
    // When nobody is cut, every draw would be the same run.
    const int32_t runs = sampler.DrawsDiffer() ? kBalancedDraws : 1;
    // Several draws share the threads, each engine on one of them; a single
    // run spreads its own parts over them.
    const bool sideBySide = runs > 1 && hooks.Jobs > 1;
    std::atomic<int32_t> begun = 0;
    outcome.DrawScores.resize(static_cast<size_t>(runs));
    RunParts(sideBySide ? PoolRunner(hooks.Jobs) : TParallelFor{}, static_cast<size_t>(runs), [&](size_t draw) {
        if (hooks.Draw) hooks.Draw(++begun, runs);
        std::unique_ptr<TQuillprint> engine =
            RunDraw(sampler, static_cast<int32_t>(draw), test, candidates, localeName, leaveOutCopies, hooks);
        outcome.DrawScores[draw] = CandidateScores(*engine);
        if (draw == 0) outcome.FirstDraw = std::move(engine);
    });
    for (const std::vector<double>& scores : outcome.DrawScores) {
        for (size_t c = 0; c < scores.size(); ++c) sums[c] += scores[c];
        // A shared top score is a draw nobody won.
        if (const int32_t best = SoleBest(scores); best >= 0)
            outcome.DrawsWon[static_cast<size_t>(best)] += kBalancedDraws / runs;
    }
    for (const long double sum : sums) outcome.MeanScores.push_back(static_cast<double>(sum / runs));
    return outcome;
}

namespace {

template <typename TName>
std::u16string Summary(size_t count, TName&& name, const std::vector<double>& scores, const std::string& localeName) {
    const char16_t separator = DecimalSeparatorOf(localeName);
    std::u16string summary;
    for (size_t c = 0; c < count && c < scores.size(); ++c)
        summary += name(c) + u": " + FormatScore(scores[c], separator) + u"\r";
    return summary;
}

}  // namespace

std::u16string ScoreSummary(const std::vector<TCandidateLines>& candidates, const std::vector<double>& scores,
                            const std::string& localeName) {
    return Summary(
        candidates.size(), [&](size_t c) { return candidates[c].Name; }, scores, localeName);
}

std::u16string ScoreSummary(const TPreparedSet& candidates, const std::vector<double>& scores,
                            const std::string& localeName) {
    return Summary(
        candidates.size(), [&](size_t c) { return candidates[c]->Name(); }, scores, localeName);
}

}  // namespace quillprint
