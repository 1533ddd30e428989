#include "workspace/CrossValidation.h"

#include <atomic>
#include <mutex>

#include "engine/EngineError.h"
#include "engine/Normalization.h"
#include "engine/WordSplitter.h"
#include "workspace/BalancedRun.h"
#include "workspace/Calculation.h"
#include "workspace/CosineDelta.h"
#include "workspace/HeldOutTexts.h"
#include "workspace/JobPool.h"
#include "workspace/PreparedCandidates.h"
#include "workspace/SplitMix64.h"
#include "workspace/TextReader.h"

namespace quillprint {

namespace {

// The held-out lines of check `index`: a random excerpt of `words` words
// when asked for and the text is longer, drawn from the seed and the check's
// place alone, so the same seed gives the same excerpts on any thread.
TLines ExcerptOf(const TLines& lines, int64_t words, uint64_t seed, size_t index) {
    const int64_t total = CountWords(lines);
    if (words <= 0 || total <= words) return lines;
    TSplitMix64 random(seed ^ (0xD1B54A32D192ED03ull * (static_cast<uint64_t>(index) + 1)));
    const auto first = static_cast<int64_t>(random.Below(static_cast<uint64_t>(total - words + 1)));
    return WordRange(lines, first, words);
}

// The runner-up: the best of the others, the earlier one of equal scores.
int32_t RunnerUp(const std::vector<double>& scores, int32_t top) {
    int32_t second = -1;
    for (size_t c = 0; c < scores.size(); ++c)
        if (static_cast<int32_t>(c) != top && (second < 0 || scores[c] > scores[static_cast<size_t>(second)]))
            second = static_cast<int32_t>(c);
    return second;
}

TCrossCheck RunCheck(const TPreparedSet& prepared, const THeldOutText& held, const TLines& testLines,
                     const TCrossValidationSettings& settings, std::stop_token stop) {
    TPreparedSet run = prepared;
    const TWordSplitter splitter(settings.Splitting, settings.LocaleName);
    run[held.Candidate] = PrepareCandidate(held.Sample, settings.Balance, splitter);
    const std::u16string test = JoinLines(testLines);
    TRunHooks hooks;
    hooks.Stop = stop;
    hooks.Jobs = 1;
    hooks.Splitting = settings.Splitting;
    const TCalculationResult result =
        RunPreparedCalculation(run, test, settings.LocaleName, settings.Balance, settings.LeaveOutCopies, hooks);
    const std::vector<double> scores = result.CandidateScores();

    TCrossCheck check;
    check.Text = held.Label;
    check.Truth = static_cast<int32_t>(held.Candidate);
    check.Words = CountWords(testLines);
    check.Top = RankedFirst(scores);
    check.RunnerUp = RunnerUp(scores, check.Top);
    if (check.Top >= 0)
        check.Margin = scores[static_cast<size_t>(check.Top)] -
                       (check.RunnerUp >= 0 ? scores[static_cast<size_t>(check.RunnerUp)] : 0.0);
    // A top score shared with the runner-up singles out nobody.
    check.Right = check.Top == check.Truth && (check.RunnerUp < 0 || check.Margin > 0);

    std::vector<TWordSpan> words;
    for (const auto& candidate : run) words.push_back(candidate->Words);
    check.DeltaTop = CosineDelta(words, splitter.Split(NormalizeText(test))).First;
    return check;
}

}  // namespace

int32_t TCrossValidation::Right() const {
    int32_t right = 0;
    for (const TCrossCheck& check : Checks) right += check.Right ? 1 : 0;
    return right;
}

int32_t TCrossValidation::DeltaRight() const {
    int32_t right = 0;
    for (const TCrossCheck& check : Checks) right += check.DeltaTop == check.Truth ? 1 : 0;
    return right;
}

double TCrossValidation::Accuracy() const {
    return Checks.empty() ? 0.0 : static_cast<double>(Right()) / static_cast<double>(Checks.size());
}

double TCrossValidation::DeltaAccuracy() const {
    return Checks.empty() ? 0.0 : static_cast<double>(DeltaRight()) / static_cast<double>(Checks.size());
}

std::vector<TCandidateFigures> TCrossValidation::Figures() const {
    std::vector<TCandidateFigures> figures(Names.size());
    for (const TCrossCheck& check : Checks) {
        ++figures[static_cast<size_t>(check.Truth)].Checks;
        if (check.Right) ++figures[static_cast<size_t>(check.Truth)].Found;
        if (check.Top >= 0 && (check.RunnerUp < 0 || check.Margin > 0)) ++figures[static_cast<size_t>(check.Top)].Named;
    }
    return figures;
}

std::vector<std::vector<int32_t>> TCrossValidation::Confusion() const {
    std::vector<std::vector<int32_t>> counts(Names.size(), std::vector<int32_t>(Names.size(), 0));
    for (const TCrossCheck& check : Checks)
        if (check.Top >= 0) ++counts[static_cast<size_t>(check.Truth)][static_cast<size_t>(check.Top)];
    return counts;
}

TConfidenceFit TCrossValidation::Fit() const {
    std::vector<TCheckOutcome> outcomes;
    if (!CanTell()) return {};
    for (const TCrossCheck& check : Checks) outcomes.push_back({check.Margin, check.Right});
    return TConfidenceFit(std::move(outcomes));
}

TCrossValidation RunCrossValidation(const std::vector<TCandidateLines>& candidates,
                                    const TCrossValidationSettings& settings,
                                    const std::function<void(int32_t, int32_t)>& progress, std::stop_token stop) {
    TCrossValidation result;
    result.Seed = settings.Seed;
    result.ExcerptWords = settings.ExcerptWords;
    for (const TCandidateLines& candidate : candidates) result.Names.push_back(candidate.Name);

    const std::vector<THeldOutText> held = HeldOutTexts(candidates);
    const auto total = static_cast<int32_t>(held.size());
    std::mutex progressLock;
    int32_t done = 0;
    // Checks end on several threads: the count and the call under one lock.
    auto tell = [&](int32_t finished) {
        const std::lock_guard lock(progressLock);
        done += finished;
        if (progress) progress(done, total);
    };
    tell(0);
    const TPreparedSet prepared = PrepareCandidates(candidates, settings.Balance, settings.Jobs, stop,
                                                    {settings.Splitting, settings.LocaleName});
    for (const auto& candidate : prepared) result.SampleWords.push_back(candidate->WordCount());
    result.Checks.resize(held.size());
    TJobPool::Shared().ForEach(
        held.size(), settings.Jobs,
        [&](size_t k) {
            const TLines test = ExcerptOf(held[k].Lines, settings.ExcerptWords, settings.Seed, k);
            result.Checks[k] = RunCheck(prepared, held[k], test, settings, stop);
            tell(1);
        },
        stop);
    if (stop.stop_requested()) throw TCalculationCancelled();
    return result;
}

int64_t ExcerptWordsFor(std::u16string_view test) { return CountWords(TLines{std::u16string(test)}); }

}  // namespace quillprint
