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

// How many candidates the validation report tests by default: each test is
// a calculation over every candidate, so testing all of many candidates
// takes time that grows with the square of their number.
inline constexpr int32_t kValidationReportSample = 50;

struct TValidationReport {
    std::vector<TValidationRow> Rows;  // the candidates tested, in candidate order
    // The project's candidates, and the step between those tested: every
    // candidate when 1, every Step-th from the first otherwise.
    int32_t Candidates = 0;
    int32_t Step = 1;
    // The engine of the last run (the first draw of it when balanced).
    std::shared_ptr<TQuillprint> LastEngine;
    int32_t Tested() const;
    int32_t Recognised() const;
};

// One validation run per candidate, in order: its last fifth of lines held
// back as the test text, every candidate (itself with the rest of its lines)
// in the engine. With more than `mostTested` candidates (0: no limit), only
// every m-th is tested, m the smallest step that leaves at most `mostTested`,
// each still against every candidate. A candidate with fewer than kHeldBackFraction lines holds
// back nothing and counts as not tested. Balanced runs when `balance` is set.
// `hooks` carry the stop token and the engine's progress into each run;
// `progress`, when given, hears (runs done, runs in all) before the first run
// and after each, from the runs' threads and possibly two at once. The runs go side by side on
// hooks.Jobs threads, with the report of one after another.
TValidationReport RunValidationReport(const std::vector<TCandidateLines>& candidates, const std::string& localeName,
                                      bool balance, const TRunHooks& hooks = {},
                                      const std::function<void(int32_t done, int32_t total)>& progress = {},
                                      int32_t mostTested = 0);

// The step between the candidates tested: 1 up to `mostTested` candidates.
int32_t ValidationStep(size_t candidates, int32_t mostTested);

// Header "Author", "Lines held back", "Ranked first", "Score", "Rank"; one
// row per candidate tested; a row "k of n recognised"; when not every
// candidate was tested, a last row that says which were.
TGrid ValidationReportGrid(const TValidationReport& report);

// "Tested t of n candidates (every m-th), …", the last row of a report that
// tested every m-th candidate only.
std::u16string SampleText(const TValidationReport& report);

// "k of n recognised", the report's row after the candidates.
std::u16string RecognisedText(int64_t recognised, int64_t tested);

}  // namespace quillprint
