#include "workspace/EachText.h"

#include <algorithm>
#include <mutex>
#include <numeric>

#include "engine/EngineError.h"
#include "engine/Text.h"
#include "workspace/JobPool.h"

namespace quillprint {

namespace {

TTextOutcome Attribute(const TPreparedSet& candidates, const TDisputedText& text, const TEachTextOptions& options,
                       std::stop_token stop, unsigned engineJobs) {
    TTextOutcome outcome;
    outcome.Position = text.Position;
    outcome.Label = text.Label;
    outcome.Error = text.Error;
    if (outcome.Failed()) return outcome;
    try {
        outcome.Result =
            RunPreparedCalculation(candidates, text.Test, options.LocaleName, options.Balance, options.LeaveOutCopies,
                                   TRunHooks{stop, {}, {}, engineJobs, options.Splitting});
    } catch (const TPassageTooLongError& error) {
        outcome.Error = FromUtf8(error.what());
        return outcome;
    }
    const TQuillprint& engine = *outcome.Result.Engine;
    const std::vector<double> scores = outcome.Result.CandidateScores();
    for (size_t c = 0; c < scores.size(); ++c) {
        const TAuthor& author = *engine.Authors()[c];
        outcome.Candidates.push_back({author.Name(), scores[c], author.WordCount(), author.UniqueNum(),
                                      outcome.Result.Balanced ? outcome.Result.DrawsWon[c] : -1});
    }
    outcome.Words = engine.Test() ? engine.Test()->WordCount() : 0;
    if (!options.KeepFirstEngine) outcome.Result.Engine.reset();
    return outcome;
}

}  // namespace

std::vector<size_t> TTextOutcome::Ranking() const {
    std::vector<size_t> order(Candidates.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [this](size_t left, size_t right) { return Candidates[left].Score > Candidates[right].Score; });
    return order;
}

std::vector<TTextOutcome> RunEachText(const std::vector<TCandidateLines>& candidates,
                                      const std::vector<TDisputedText>& texts, const TEachTextOptions& options,
                                      const TTextFinished& finished, std::stop_token stop) {
    std::vector<TTextOutcome> outcomes(texts.size());
    // Prepared once, shared by every text's calculation.
    const TPreparedSet prepared =
        PrepareCandidates(candidates, options.Balance, options.Jobs, stop, {options.Splitting, options.LocaleName});
    std::mutex finishedMutex;
    size_t kept = texts.size();  // the text whose engine is kept; none yet
    // The texts share the threads; a single text spreads its own parts.
    const unsigned engineJobs = texts.size() == 1 ? options.Jobs : 1;
    TJobPool::Shared().ForEach(
        texts.size(), options.Jobs,
        [&](size_t index) {
            outcomes[index] = Attribute(prepared, texts[index], options, stop, engineJobs);
            const std::lock_guard lock(finishedMutex);
            if (outcomes[index].Result.Engine) {
                // Only the earliest text with a result keeps its engine.
                if (index < kept) {
                    if (kept < texts.size()) outcomes[kept].Result.Engine.reset();
                    kept = index;
                } else {
                    outcomes[index].Result.Engine.reset();
                }
            }
            if (finished) finished(index, outcomes[index]);
        },
        stop);
    return outcomes;
}

}  // namespace quillprint
