// One attribution of a test text against the candidates: a plain engine run,
// or a balanced one over several draws. It reads nothing from the tree or the
// disk, so it can run on any thread, several at once.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Quillprint.h"
#include "workspace/BalancedSample.h"
#include "workspace/PreparedCandidates.h"

namespace quillprint {

struct TCalculationResult {
    // The engine the tables read: the run itself, or the first draw of a
    // balanced run. Shared so that a result can be shown again later.
    std::shared_ptr<TQuillprint> Engine;
    // What Detect returned, or the mean scores' lines when balanced.
    std::u16string Summary;
    bool Balanced = false;
    // Balanced runs only, per candidate in engine order: the mean score over
    // the draws and the number of draws that ranked it first.
    std::vector<double> MeanScores;
    std::vector<int32_t> DrawsWon;
    // Balanced runs only: each draw's scores, per candidate in engine order.
    std::vector<std::vector<double>> DrawScores;
    // Balanced runs only: each candidate's own words, in engine order (the
    // engine holds one draw's samples).
    std::vector<int64_t> CandidateWords;

    // Per candidate in engine order: the score the results table ranks by.
    std::vector<double> CandidateScores() const;
};

// What a running calculation is asked and what it tells; every member is
// optional. The callbacks run on the calculation's threads, several at once
// when Jobs > 1: their receiver locks (a TJobProgress does).
struct TRunHooks {
    // A stop request ends the run with TCalculationCancelled.
    std::stop_token Stop;
    // The engine begins a stage of Detect.
    std::function<void(TEnginePhase)> EnginePhase;
    // A balanced run begins draw `draw` (1-based) of `draws`.
    std::function<void(int32_t draw, int32_t draws)> Draw;
    // Threads the calculation may use, with the same result as on one; 1
    // keeps everything in order on the calling thread.
    unsigned Jobs = 1;
    // How the texts are split into words (see WordSplitter.h).
    TWordSplitting Splitting = TWordSplitting::Spaces;
};

// A fresh engine for `localeName` that answers the hooks, splits words by
// hooks.Splitting and spreads its independent parts over hooks.Jobs threads.
std::unique_ptr<TQuillprint> NewEngine(const std::string& localeName, const TRunHooks& hooks);

// The candidates' scores (Koef) in engine order, the test author left out.
std::vector<double> CandidateScores(const TQuillprint& engine);

// A fresh engine with every candidate in order, then Detect(test); balanced
// when `balance` is set; leaving copies of at least `leaveOutCopies` words
// out of the test text (0: none). Errors of the engine reach the caller.
TCalculationResult RunCalculation(const std::vector<TCandidateLines>& candidates, std::u16string_view test,
                                  const std::string& localeName, bool balance, int32_t leaveOutCopies = 0,
                                  const TRunHooks& hooks = {});

// RunCalculation over prepared candidates (prepared with their units when
// `balance`), with the same result: the way to run many calculations over
// the same candidates without preparing them again.
TCalculationResult RunPreparedCalculation(const TPreparedSet& candidates, std::u16string_view test,
                                          const std::string& localeName, bool balance, int32_t leaveOutCopies = 0,
                                          const TRunHooks& hooks = {});

}  // namespace quillprint
