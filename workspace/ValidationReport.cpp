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

int32_t TValidationReport::Tested() const {
    return static_cast<int32_t>(std::count_if(Rows.begin(), Rows.end(), [](const auto& row) { return row.Tested(); }));
}

int32_t TValidationReport::Recognised() const {
    return static_cast<int32_t>(
        std::count_if(Rows.begin(), Rows.end(), [](const auto& row) { return row.Recognised(); }));
}

TValidationReport RunValidationReport(const std::vector<TCandidateLines>& candidates, const std::string& localeName,
                                      bool balance, const TRunHooks& hooks,
                                      const std::function<void(int32_t, int32_t)>& progress) {
    TValidationReport report;
    const auto total = static_cast<int32_t>(candidates.size());
    if (progress) progress(0, total);
    // Every run shares the prepared candidates; only the one under test is
    // prepared again, without the lines it holds back.
    const TWordSplitter splitter(hooks.Splitting, localeName);
    const TPreparedSet prepared = PrepareCandidates(candidates, balance, hooks.Jobs, hooks.Stop, splitter);
    // The runs share the threads, each engine on one of them.
    const bool sideBySide = candidates.size() > 1 && hooks.Jobs > 1;
    std::atomic<int32_t> done = 0;
    report.Rows.resize(candidates.size());
    RunParts(sideBySide ? PoolRunner(hooks.Jobs) : TParallelFor{}, candidates.size(), [&](size_t c) {
        TValidationRow& row = report.Rows[c];
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
        if (c + 1 == candidates.size()) report.LastEngine = std::move(result.Engine);
        if (progress) progress(++done, total);
    });
    return report;
}

TGrid ValidationReportGrid(const TValidationReport& report) {
    TGrid grid(5, static_cast<int32_t>(report.Rows.size()) + 2);
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
    return grid;
}

std::u16string RecognisedText(int64_t recognised, int64_t tested) {
    return Decimal(recognised) + u" of " + Decimal(tested) + u" recognised";
}

}  // namespace quillprint
