// Copied passages: finding them (time and peak memory) in a project whose
// test text holds a 20,000-word copy and in the Federalist corpus, and whole
// calculations that leave copies of 3,000 to 50,000 words out.
#include <benchmark/benchmark.h>

#include <vector>

#include "BenchCorpora.h"
#include "PeakMemory.h"
#include "engine/Collation.h"
#include "engine/CopyFinder.h"
#include "engine/Normalization.h"
#include "engine/Quillprint.h"
#include "engine/WordSplitter.h"

namespace quillprint::bench {
namespace {

const std::string kCopyLocale = "en_US";

// The candidates' and the test text's words as the engine makes them; the
// finding alone is timed.
void FindCopies(benchmark::State& state, const TBenchCorpus& corpus) {
    std::vector<TWordList> candidates;
    for (const TCandidateText& candidate : corpus.Candidates)
        candidates.push_back(SplitWords(NormalizeText(candidate.Text)));
    const TWordList test = SplitWords(NormalizeText(corpus.TestText));
    const std::vector<TWordSpan> lists(candidates.begin(), candidates.end());
    const TCollation collation(kCopyLocale);
    ResetPeakMemory();
    size_t passages = 0;
    int64_t copied = 0;
    for (auto _ : state) {
        const std::vector<TCopiedPassage> found = FindCopiedPassages(lists, test, collation, kDefaultCopyWords);
        passages = found.size();
        copied = 0;
        for (const TCopiedPassage& passage : found) copied += passage.Words;
    }
    state.counters["peak_MiB"] = PeakMemoryMiB();
    state.counters["passages"] = static_cast<double>(passages);
    state.counters["copied_words"] = static_cast<double>(copied);
    state.counters["test_words"] = static_cast<double>(test.size());
}

void BM_FindCopiesIn20000WordCopy(benchmark::State& state) {
    static const TBenchCorpus corpus = FederalistWithCopy(20000);
    FindCopies(state, corpus);
}

// Paper 49 against all other papers: the short shared stretches of ordinary
// prose, no copy.
void BM_FindCopiesInFederalist(benchmark::State& state) { FindCopies(state, FederalistCorpus()); }

// A whole calculation with copies left out: split, find, cut, phrase
// search, scores.
void BM_CalculateWithoutCopies(benchmark::State& state) {
    const TBenchCorpus corpus = FederalistWithCopy(static_cast<int32_t>(state.range(0)));
    ResetPeakMemory();
    int32_t leftOut = 0;
    for (auto _ : state) {
        TQuillprint engine(kCopyLocale);
        engine.SetLeaveOutCopies(kDefaultCopyWords);
        for (const TCandidateText& candidate : corpus.Candidates) engine.AddAuthor(candidate.Name, candidate.Text);
        benchmark::DoNotOptimize(engine.Detect(corpus.TestText));
        leftOut = engine.WordsLeftOut();
    }
    state.counters["peak_MiB"] = PeakMemoryMiB();
    state.counters["words_left_out"] = leftOut;
}

BENCHMARK(BM_FindCopiesIn20000WordCopy)->Name("FindCopies/20000-word copy")->Iterations(1)->Repetitions(5)
    ->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindCopiesInFederalist)->Name("FindCopies/Federalist")->Iterations(1)->Repetitions(5)
    ->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalculateWithoutCopies)->Name("CalculateWithoutCopies")->Arg(3000)->Arg(15000)->Arg(50000)
    ->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillprint::bench
