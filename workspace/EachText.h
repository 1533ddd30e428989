// Many disputed texts in one run: every text of "Unknown" attributed on its
// own against the same candidates, several at once.
#pragma once

#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>
#include <vector>

#include "workspace/BalancedSample.h"
#include "workspace/Calculation.h"

namespace quillprint {

// One text of "Unknown", read once before the runs start.
struct TDisputedText {
    size_t Position = 0;  // 0-based place among all texts of "Unknown"
    std::u16string Label;
    std::u16string Test;   // its lines, joined
    std::u16string Error;  // why it could not be read; empty when it was
};

// A candidate as one text's calculation ranked it.
struct TCandidateOutcome {
    std::u16string Name;
    double Score = 0;       // what the results table ranks by (the mean when balanced)
    int32_t Words = 0;
    int32_t UniqueNum = 0;
    int32_t DrawsWon = -1;  // -1: not a balanced run
};

struct TTextOutcome {
    size_t Position = 0;  // 0-based place among all texts of "Unknown"
    std::u16string Label;
    // Why the text has no result (unreadable, or refused by the engine);
    // empty when it has one.
    std::u16string Error;
    int32_t Words = 0;                         // the test text's words
    std::vector<TCandidateOutcome> Candidates;  // engine order
    // The whole calculation; its engine is kept only on request (see
    // TEachTextOptions::KeepFirstEngine).
    TCalculationResult Result;

    bool Failed() const { return !Error.empty(); }
    // Candidate indexes ranked as the results table ranks them: highest
    // score first, ties in engine order.
    std::vector<size_t> Ranking() const;
};

struct TEachTextOptions {
    std::string LocaleName;
    bool Balance = false;
    int32_t LeaveOutCopies = 0;  // shortest copied passage left out; 0: none
    unsigned Jobs = 1;
    TWordSplitting Splitting = TWordSplitting::Spaces;
    // Keep the engine of the first text in text order that has a result (the
    // window shows its tables); every other engine is dropped as its text
    // ends, so memory does not grow with the number of texts.
    bool KeepFirstEngine = false;
};

// Called as each text's calculation ends, in any order, never two at once.
using TTextFinished = std::function<void(size_t index, const TTextOutcome& outcome)>;

// One calculation per text, in text order, each exactly what a project with
// that text alone in "Unknown" gives. A text that cannot be read or that the
// engine refuses gets its error and the others still run. A stop request
// ends the running calculations with TCalculationCancelled, which reaches
// the caller.
std::vector<TTextOutcome> RunEachText(const std::vector<TCandidateLines>& candidates,
                                      const std::vector<TDisputedText>& texts, const TEachTextOptions& options,
                                      const TTextFinished& finished = {}, std::stop_token stop = {});

}  // namespace quillprint
