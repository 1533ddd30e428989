#include "workspace/Calculation.h"

#include "workspace/BalancedRun.h"
#include "workspace/JobPool.h"
#include "workspace/TextReader.h"

namespace quillprint {

std::vector<double> CandidateScores(const TQuillprint& engine) {
    std::vector<double> scores;
    const auto& authors = engine.Authors();
    for (size_t a = 0; a + 1 < authors.size(); ++a) scores.push_back(authors[a]->Koef());
    return scores;
}

std::vector<double> TCalculationResult::CandidateScores() const {
    if (Balanced) return MeanScores;
    return Engine ? quillprint::CandidateScores(*Engine) : std::vector<double>{};
}

std::unique_ptr<TQuillprint> NewEngine(const std::string& localeName, const TRunHooks& hooks) {
    auto engine = std::make_unique<TQuillprint>(localeName);
    engine->SetStopToken(hooks.Stop);
    engine->SetWordSplitting(hooks.Splitting);
    if (hooks.EnginePhase) engine->SetPhaseHandler(hooks.EnginePhase);
    engine->SetParallelFor(PoolRunner(hooks.Jobs));
    return engine;
}

namespace {

TCalculationResult BalancedResult(TBalancedOutcome outcome, const TPreparedSet& candidates,
                                  const std::string& localeName) {
    TCalculationResult result;
    result.Engine = std::move(outcome.FirstDraw);
    result.Summary = ScoreSummary(candidates, outcome.MeanScores, localeName);
    result.MeanScores = std::move(outcome.MeanScores);
    result.DrawsWon = std::move(outcome.DrawsWon);
    result.DrawScores = std::move(outcome.DrawScores);
    for (const auto& candidate : candidates) result.CandidateWords.push_back(candidate->WordCount());
    result.Balanced = true;
    return result;
}

}  // namespace

TCalculationResult RunCalculation(const std::vector<TCandidateLines>& candidates, std::u16string_view test,
                                  const std::string& localeName, bool balance, int32_t leaveOutCopies,
                                  const TRunHooks& hooks) {
    if (balance)
        return RunPreparedCalculation(
            PrepareCandidates(candidates, true, hooks.Jobs, hooks.Stop, {hooks.Splitting, localeName}), test,
            localeName, true, leaveOutCopies, hooks);
    // One run: the engine normalises and splits the texts itself, with no
    // prepared copy of the words beside its own.
    TCalculationResult result;
    std::shared_ptr<TQuillprint> engine = NewEngine(localeName, hooks);
    engine->SetLeaveOutCopies(leaveOutCopies);
    if (hooks.Jobs <= 1) {
        for (const TCandidateLines& candidate : candidates)
            engine->AddAuthor(candidate.Name, JoinLines(candidate.Lines));
    } else {
        std::vector<std::u16string> texts(candidates.size());
        RunParts(engine->ParallelFor(), candidates.size(),
                 [&](size_t c) { texts[c] = JoinLines(candidates[c].Lines); });
        std::vector<std::pair<std::u16string_view, std::u16string_view>> authors;
        for (size_t c = 0; c < candidates.size(); ++c) authors.emplace_back(candidates[c].Name, texts[c]);
        engine->AddAuthors(authors);
    }
    result.Summary = engine->Detect(test);
    result.Engine = std::move(engine);
    return result;
}

TCalculationResult RunPreparedCalculation(const TPreparedSet& candidates, std::u16string_view test,
                                          const std::string& localeName, bool balance, int32_t leaveOutCopies,
                                          const TRunHooks& hooks) {
    if (balance)
        return BalancedResult(RunBalanced(candidates, test, localeName, leaveOutCopies, hooks), candidates, localeName);
    TCalculationResult result;
    std::shared_ptr<TQuillprint> engine = NewEngine(localeName, hooks);
    engine->SetLeaveOutCopies(leaveOutCopies);
    for (const auto& candidate : candidates) engine->AddAuthorWords(candidate->Name(), candidate->Words);
    result.Summary = engine->Detect(test);
    result.Engine = std::move(engine);
    return result;
}

}  // namespace quillprint
