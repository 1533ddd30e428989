// Candidates prepared once per request and then shared, read-only, by every
// calculation over them: each balanced draw, each text of "Each text", each
// run of a validation report or of any other series of checks. A candidate
// is normalised and split into the engine's words once, and its sample units
// are counted once; a calculation copies only what its engine keeps.
//
// A series of checks over the same candidates works like this:
//
//     const TPreparedSet set = PrepareCandidates(std::move(candidates), balance, jobs, stop);
//     for each check:
//         TPreparedSet run = set;                       // pointers only
//         run[c] = PrepareCandidate(linesWithoutTheTestPart, balance);  // the one candidate that differs
//         TCalculationResult result = RunPreparedCalculation(run, test, settings, hooks);
//
// Every prepared candidate is immutable once made, so any number of runs on
// any threads may read one set at the same time.
#pragma once

#include <cstdint>
#include <memory>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Text.h"
#include "engine/WordSplitter.h"
#include "workspace/BalancedSample.h"

namespace quillprint {

struct TPreparedCandidate {
    TCandidateLines Lines;
    // The engine's words of all its lines: splitter.Split(NormalizeText(JoinLines(Lines.Lines))).
    TWordList Words;
    // SampleUnits(Lines), for balanced runs; empty when prepared without.
    std::vector<TSampleUnit> Units;
    bool HasUnits = false;

    const std::u16string& Name() const { return Lines.Name; }
    int64_t WordCount() const { return static_cast<int64_t>(Words.size()); }
};

// The candidates of one calculation, in engine order.
using TPreparedSet = std::vector<std::shared_ptr<const TPreparedCandidate>>;

// One candidate, its words split by `splitter`, which must split as the
// engine that will take them does; its sample units too when `withUnits`
// (needed by balanced runs).
std::shared_ptr<const TPreparedCandidate> PrepareCandidate(TCandidateLines lines, bool withUnits,
                                                           const TWordSplitter& splitter = {});

// Every candidate, side by side on up to `jobs` threads of the pool. A stop
// request ends the preparation with TCalculationCancelled.
TPreparedSet PrepareCandidates(std::vector<TCandidateLines> candidates, bool withUnits, unsigned jobs = 1,
                               std::stop_token stop = {}, const TWordSplitter& splitter = {});

}  // namespace quillprint
