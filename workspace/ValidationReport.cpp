#include "workspace/ValidationReport.h"

#include <algorithm>
#include <atomic>
#include <string>

#include "engine/Text.h"
#include "workspace/BalancedRun.h"
#include "workspace/Calculation.h"
#include "workspace/HeldBackLines.h"
#include "workspace/JobPool.h"
#include "workspace/ResultTable.h"

namespace quillprint {

namespace {

// "2nd", "3rd", "10th", "11th", "21st".
std::u16string Ordinal(int64_t value) {
    const int64_t tens = value % 100, units = value % 10;
    const char16_t* suffix = tens >= 11 && tens <= 13 ? u"th"
                             : units == 1             ? u"st"
                             : units == 2             ? u"nd"
                             : units == 3             ? u"rd"
                                                      : u"th";
    return Decimal(value) + suffix;
}

}  // namespace

int32_t TValidationReport::Tested() const {
    return static_cast<int32_t>(std::count_if(Rows.begin(), Rows.end(), [](const auto& row) { return row.Tested(); }));
}

int32_t TValidationReport::Recognised() const {
    return static_cast<int32_t>(
        std::count_if(Rows.begin(), Rows.end(), [](const auto& row) { return row.Recognised(); }));
}

int32_t ValidationStep(size_t candidates, int32_t mostTested) {
    if (mostTested <= 0 || candidates <= static_cast<size_t>(mostTested)) return 1;
    const size_t limit = static_cast<size_t>(mostTested);
    return static_cast<int32_t>((candidates + limit - 1) / limit);
}

TValidationReport RunValidationReport(const std::vector<TCandidateLines>& candidates, const std::string& localeName,
                                      bool balance, const TRunHooks& hooks,
                                      const std::function<void(int32_t, int32_t)>& progress, int32_t mostTested) {
    TValidationReport report;
    report.Candidates = static_cast<int32_t>(candidates.size());
    report.Step = ValidationStep(candidates.size(), mostTested);
    const auto step = static_cast<size_t>(report.Step);
    const size_t tested = (candidates.size() + step - 1) / step;
    const auto total = static_cast<int32_t>(tested);
    if (progress) progress(0, total);
    // Every run shares the prepared candidates; only the one under test is
    // prepared again, without the lines it holds back.
    const TWordSplitter splitter(hooks.Splitting, localeName);
    const TPreparedSet prepared = PrepareCandidates(candidates, balance, hooks.Jobs, hooks.Stop, splitter);
    // The runs share the threads, each engine on one of them.
    const bool sideBySide = tested > 1 && hooks.Jobs > 1;
    std::atomic<int32_t> done = 0;
    report.Rows.resize(tested);
    RunParts(sideBySide ? PoolRunner(hooks.Jobs) : TParallelFor{}, tested, [&](size_t t) {
        const size_t c = t * step;
        TValidationRow& row = report.Rows[t];
        row.Name = candidates[c].Name;
        TCandidateLines rest = candidates[c];
        const std::u16string test = HoldBackLines(rest.Lines);
        row.LinesHeldBack = static_cast<int32_t>(candidates[c].Lines.size() - rest.Lines.size());
        TPreparedSet run = prepared;
        run[c] = PrepareCandidate(std::move(rest), balance, splitter);
        // A candidate too short to hold lines back is still run, on an empty
        // test text, as a single validation run would; its row says so.
        TCalculationResult result = RunPreparedCalculation(run, test, localeName, balance, 0, hooks);
        if (row.Tested()) {
            const std::vector<double> scores = result.CandidateScores();
            row.RankedFirst = candidates[static_cast<size_t>(RankedFirst(scores))].Name;
            row.Score = scores[c];
            row.Rank = RankOf(scores, c);
        }
        if (t + 1 == tested) report.LastEngine = std::move(result.Engine);
        if (progress) progress(++done, total);
    });
    return report;
}

TGrid ValidationReportGrid(const TValidationReport& report) {
    const bool sampled = report.Step > 1;
    TGrid grid(5, static_cast<int32_t>(report.Rows.size()) + (sampled ? 3 : 2));
    grid.SetCell(0, 0, u"Author");
    grid.SetCell(1, 0, u"Lines held back");
    grid.SetCell(2, 0, u"Ranked first");
    grid.SetCell(3, 0, u"Score");
    grid.SetCell(4, 0, u"Rank");
    int32_t r = 1;
    for (const TValidationRow& row : report.Rows) {
        grid.SetCell(0, r, row.Name);
        grid.SetCell(1, r, Decimal(row.LinesHeldBack));
        if (row.Tested()) {
            const double shown = ShownScore(row.Score);
            grid.SetCell(2, r, row.RankedFirst);
            grid.SetCell(3, r, FormatPercent(shown));
            grid.SetCell(4, r, Decimal(row.Rank));
            // Coloured by its score only when recognised: a candidate
            // ranked below another is never shown as "Most likely".
            if (row.Recognised()) grid.SetRowScore(r, static_cast<float>(shown));
        } else {
            grid.SetCell(2, r, u"not tested: fewer than 5 lines");
        }
        ++r;
    }
    grid.SetCell(0, r, RecognisedText(report.Recognised(), report.Tested()));
    if (sampled) grid.SetCell(0, r + 1, SampleText(report));
    return grid;
}

std::u16string SampleText(const TValidationReport& report) {
    return u"Tested " + Decimal(static_cast<int64_t>(report.Rows.size())) + u" of " + Decimal(report.Candidates) +
           u" candidates (every " + Ordinal(report.Step) + u"), each against all of them";
}

std::u16string RecognisedText(int64_t recognised, int64_t tested) {
    return Decimal(recognised) + u" of " + Decimal(tested) + u" recognised";
}

}  // namespace quillprint
