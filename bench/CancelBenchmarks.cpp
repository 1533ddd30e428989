// How soon a calculation of 10,000,000 words ends once it is asked to stop:
// the calculation runs as a job of the pool with its parts on every core,
// the stop is requested a set time after its phrase search has begun, and
// the time measured runs from that request until the job has ended (the
// engine destroyed, its memory given back). The argument is that set time
// in milliseconds.
#include <benchmark/benchmark.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "BenchCorpora.h"
#include "engine/EngineError.h"
#include "engine/Quillprint.h"
#include "workspace/JobPool.h"

namespace quillprint::bench {
namespace {

const TBenchCorpus& TenMillionWords() {
    static const TBenchCorpus corpus = SyntheticCorpus(20, 500'000, 10'000, 11);
    return corpus;
}

void BM_CancelDuringPhraseSearch(benchmark::State& state) {
    const TBenchCorpus& corpus = TenMillionWords();
    const auto delay = std::chrono::milliseconds(state.range(0));
    bool cancelled = false;
    for (auto _ : state) {
        std::mutex mutex;
        std::condition_variable searching;
        bool began = false;
        auto job = TJobPool::Shared().Start([&](std::stop_token stop) {
            TQuillprint engine("en_US");
            engine.SetStopToken(stop);
            engine.SetParallelFor(PoolRunner(DefaultJobs()));
            engine.SetPhaseHandler([&](TEnginePhase phase) {
                if (phase != TEnginePhase::FindingPhrases) return;
                const std::lock_guard lock(mutex);
                began = true;
                searching.notify_all();
            });
            for (const TCandidateText& candidate : corpus.Candidates) engine.AddAuthor(candidate.Name, candidate.Text);
            try {
                engine.Detect(corpus.TestText);
            } catch (const TCalculationCancelled&) {
                cancelled = true;
            }
        });
        {
            std::unique_lock lock(mutex);
            searching.wait(lock, [&] { return began; });
        }
        std::this_thread::sleep_for(delay);
        const auto asked = std::chrono::steady_clock::now();
        job->RequestStop();
        job->Wait();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - asked).count());
    }
    // 0 when the search had ended before the stop came: the figure is then
    // not a cancellation.
    state.counters["cancelled"] = cancelled ? 1 : 0;
}

}  // namespace

BENCHMARK(BM_CancelDuringPhraseSearch)
    ->Name("CancelDuringPhraseSearch/10M")
    ->Arg(0)
    ->Arg(500)
    ->Arg(1500)
    ->Arg(3000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3);

}  // namespace quillprint::bench
