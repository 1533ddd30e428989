// The validation report: how well the calculation recognises each candidate
// when part of that candidate's own text is attributed as if unknown.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/Quillprint.h"
#include "workspace/BalancedSample.h"
#include "workspace/Calculation.h"
#include "workspace/Grid.h"

namespace quillprint {

struct TValidationRow {
    std::u16string Name;
    int32_t LinesHeldBack = 0;  // 0: the candidate was too short to test
    std::u16string RankedFirst;
    double Score = 0;  // the true candidate's score (the mean when balanced)
    int32_t Rank = 0;  // the true candidate's 1-based place
    bool Tested() const { return LinesHeldBack > 0; }
    bool Recognised() const { return Tested() && Rank == 1; }
};

struct TValidationReport {
    std::vector<TValidationRow> Rows;
    // The engine of the last run (the first draw of it when balanced).
    std::shared_ptr<TQuillprint> LastEngine;
    int32_t Tested() const;
    int32_t Recognised() const;
};

// One validation run per candidate, in order: its last fifth of lines held
// back as the test text, every candidate (itself with the rest of its lines)
// in the engine. A candidate with fewer than kHeldBackFraction lines holds
// back nothing and counts as not tested. Balanced runs when `balance` is set.
// `hooks` carry the stop token and the engine's progress into each run;
// `progress`, when given, hears (runs done, runs in all) before the first run
// and after each, from the runs' threads and possibly two at once. The runs go side by side on
// hooks.Jobs threads, with the report of one after another.
TValidationReport RunValidationReport(const std::vector<TCandidateLines>& candidates, const std::string& localeName,
                                      bool balance, const TRunHooks& hooks = {},
                                      const std::function<void(int32_t done, int32_t total)>& progress = {});

// Header "Author", "Lines held back", "Ranked first", "Score", "Rank"; one
// row per candidate; a last row "k of n recognised".
TGrid ValidationReportGrid(const TValidationReport& report);

// "k of n recognised", the report's last row.
std::u16string RecognisedText(int64_t recognised, int64_t tested);

}  // namespace quillprint
