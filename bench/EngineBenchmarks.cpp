// Median time and peak memory of whole calculations: the engine on the
// Federalist papers (beside the literal extraction), on a passage given to a
// candidate and as the test text, on a generated corpus of 1,000,000 words,
// and the longest such passage the engine still compares.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>

#include "BenchCorpora.h"
#include "LiteralExtraction.h"
#include "PeakMemory.h"
#include "engine/EngineError.h"
#include "engine/Normalization.h"
#include "engine/PhraseBudgetReport.h"
#include "engine/Quillprint.h"
#include "engine/WordSplitter.h"

namespace quillprint::bench {
namespace {

const std::string kLocale = "en_US";

// One whole calculation: every candidate added, then the test text detected.
void RunEngine(benchmark::State& state, const TBenchCorpus& corpus) {
    ResetPeakMemory();
    size_t phraseCount = 0;
    bool refused = false;
    for (auto _ : state) {
        TQuillprint engine(kLocale);
        for (const TCandidateText& candidate : corpus.Candidates) engine.AddAuthor(candidate.Name, candidate.Text);
        try {
            benchmark::DoNotOptimize(engine.Detect(corpus.TestText));
        } catch (const TPassageTooLongError&) {
            // Past the phrase budget the time measured is the time to refuse.
            refused = true;
        }
        phraseCount = engine.Phrases().size();
    }
    state.counters["peak_MiB"] = PeakMemoryMiB();
    state.counters["phrases"] = static_cast<double>(phraseCount);
    state.counters["refused"] = refused ? 1 : 0;
}

// The same texts through the literal extraction (normalised and split the
// same way; the scoring, a single pass over the phrases, is left out).
void RunLiteral(benchmark::State& state, const TBenchCorpus& corpus) {
    ResetPeakMemory();
    const TCollation collation(kLocale);
    size_t phraseCount = 0;
    for (auto _ : state) {
        std::vector<TWordList> authorWords;
        for (const TCandidateText& candidate : corpus.Candidates)
            authorWords.push_back(SplitWords(NormalizeText(candidate.Text)));
        authorWords.push_back(SplitWords(NormalizeText(corpus.TestText)));
        const testing::TLiteralResult result = testing::ExtractPhrasesLiterally(authorWords, collation);
        phraseCount = result.Phrases.size();
    }
    state.counters["peak_MiB"] = PeakMemoryMiB();
    state.counters["phrases"] = static_cast<double>(phraseCount);
}

void BM_FederalistEngine(benchmark::State& state) { RunEngine(state, FederalistCorpus()); }
void BM_FederalistLiteral(benchmark::State& state) { RunLiteral(state, FederalistCorpus()); }

// A passage given in full to one candidate and as the test text.
void BM_RepeatedPassage(benchmark::State& state) {
    const std::u16string passage = FederalistOpening(static_cast<int32_t>(state.range(0)));
    RunEngine(state, TBenchCorpus{{{u"Copyist", passage}}, passage});
}

// The same with one quoted item of several words in the middle of the
// passage, as the quotation in paper 2: phrases that span a word holding
// blanks cannot be compared word by word.
void BM_QuotedPassage(benchmark::State& state) {
    const std::u16string half = FederalistOpening(static_cast<int32_t>(state.range(0)) / 2);
    const std::u16string passage = half + u" \"farewell a long farewell to all my greatness\" " + half;
    RunEngine(state, TBenchCorpus{{{u"Copyist", passage}}, passage});
}

void BM_Synthetic1M(benchmark::State& state) {
    static const TBenchCorpus corpus = SyntheticCorpus(10, 99'000, 10'000, 20240601);
    RunEngine(state, corpus);
}

// The longest passage, given to a candidate and as the test text, that the
// engine still compares phrase by phrase, found by bisection on the counts
// the engine checks against its budget before the phrase search.
void BM_PassageLimit(benchmark::State& state) {
    auto fits = [](int32_t words) {
        const TWordList passage = SplitWords(NormalizeText(FederalistOpening(words)));
        TWordList corpus = passage;
        corpus.insert(corpus.end(), passage.begin(), passage.end());
        const TPhraseBudgetReport counts = ReportRepeats(corpus, {static_cast<int32_t>(passage.size())}, 0);
        const TPhraseBudget budget;
        return counts.Phrases <= budget.MaxPhrases && counts.Instances <= budget.MaxInstances;
    };
    int32_t longestFitting = 0;
    for (auto _ : state) {
        int32_t low = 3000;   // fits
        int32_t high = 5000;  // does not fit
        while (high - low > 1) {
            const int32_t middle = low + (high - low) / 2;
            (fits(middle) ? low : high) = middle;
        }
        longestFitting = low;
    }
    state.counters["limit_words"] = longestFitting;
}

BENCHMARK(BM_FederalistEngine)->Name("Federalist/engine")->Iterations(1)->Repetitions(7)
    ->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FederalistLiteral)->Name("Federalist/literal")->Iterations(1)->Repetitions(3)
    ->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepeatedPassage)->Name("RepeatedPassage")->Arg(1000)->Arg(5000)->Iterations(1)->Repetitions(5)
    ->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuotedPassage)->Name("QuotedPassage")->Arg(300)->Arg(1000)->Iterations(1)->Repetitions(3)
    ->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepeatedPassage)->Name("RepeatedPassageNearLimit")->Arg(4470)->Iterations(1)->Repetitions(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PassageLimit)->Name("PassageLimit")->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_Synthetic1M)->Name("Synthetic1M/engine")->Iterations(1)->Repetitions(5)
    ->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

// The console report, followed by the ratio of the literal extraction's
// median time to the engine's on the Federalist papers.
class TRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median" && !run.error_occurred)
                FMedians[run.run_name.function_name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
    }

    void PrintRatio() const {
        const auto engine = FMedians.find("Federalist/engine");
        const auto literal = FMedians.find("Federalist/literal");
        if (engine == FMedians.end() || literal == FMedians.end()) return;
        if (engine->second.first <= 0 || engine->second.second <= 0) return;
        std::printf("Federalist: literal extraction / engine, median real time %.1f, median CPU time %.1f\n",
                    literal->second.first / engine->second.first, literal->second.second / engine->second.second);
    }

private:
    std::map<std::string, std::pair<double, double>> FMedians;  // real and CPU time
};

}  // namespace
}  // namespace quillprint::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    quillprint::bench::TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio();
    benchmark::Shutdown();
    return 0;
}
