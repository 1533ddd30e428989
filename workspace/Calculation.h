// One attribution of a test text against the candidates: a plain engine run,
// or a balanced one over several draws. It reads nothing from the tree or the
// disk, so it can run on any thread, several at once.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Quillprint.h"
#include "workspace/BalancedSample.h"

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

    // Per candidate in engine order: the score the results table ranks by.
    std::vector<double> CandidateScores() const;
};

// The candidates' scores (Koef) in engine order, the test author left out.
std::vector<double> CandidateScores(const TQuillprint& engine);

// A fresh engine with every candidate in order, then Detect(test); balanced
// when `balance` is set; leaving copies of at least `leaveOutCopies` words
// out of the test text (0: none). Errors of the engine reach the caller.
TCalculationResult RunCalculation(const std::vector<TCandidateLines>& candidates, std::u16string_view test,
                                  const std::string& localeName, bool balance, int32_t leaveOutCopies = 0);

}  // namespace quillprint
