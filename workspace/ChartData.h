// What the window's pictures show, computed from the same typed results as
// the tables beside them (never from the tables' text), so the pictures can
// never disagree with the tables and can be checked headless.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "workspace/EachText.h"
#include "workspace/Grid.h"
#include "workspace/ResultTable.h"
#include "workspace/ValidationReport.h"

namespace quillprint {

// One bar of the results chart: a candidate row of the results table.
struct TScoreBar {
    std::u16string Name;
    int32_t Percent = 0;  // the table's column "Probability"
    TScoreColour Colour = TScoreColour::Ordinary;
    // Balanced runs: the lowest and highest shown percentage over the draws.
    std::optional<double> LowestPercent;
    std::optional<double> HighestPercent;
    int32_t DrawsWon = -1;  // -1: not a balanced run
    // The percentage before rounding, as the score bands see it.
    std::optional<double> ExactPercent;
};

// The candidate rows of the results table, in its order, the test author
// left out. `coloured`: the bars take the table's score colours (false while
// the table shows results older than the engine); `drawScores` holds each
// draw's scores in engine order (empty: no whiskers).
std::vector<TScoreBar> ResultChartBars(const TResultRanking& ranking, bool coloured,
                                       const std::vector<std::vector<double>>& drawScores);

// The bands of the score colours, as percentages: "Maybe" from 50, "Most
// likely" from 75.
inline constexpr int32_t kMaybePercent = static_cast<int32_t>(kMaybeScore * 100);
inline constexpr int32_t kMostLikelyPercent = static_cast<int32_t>(kMostLikelyScore * 100);

// The heat map of many disputed texts: one row per text (the rows of the
// table "Texts"), one column per candidate in engine order.
struct THeatMap {
    std::vector<std::u16string> Candidates;
    std::vector<std::u16string> Texts;
    // Per text, per candidate: the shown score as a percentage; empty for a
    // text without a result.
    std::vector<std::vector<int32_t>> Percents;
    // Per text: the candidate the table names most likely, -1 for none.
    std::vector<int32_t> MostLikely;
};
THeatMap TextsHeatMap(const std::vector<TTextOutcome>& outcomes);

// The validation report as a confusion matrix: rows are the candidates whose
// held-back lines were tested, columns the candidates the program named.
struct TConfusionMatrix {
    std::vector<std::u16string> Names;
    std::vector<bool> Tested;  // per row: false for a candidate too short to test, or not tested
    // Counts[tested][named]: how many of the tested candidate's runs named
    // that candidate (one run per candidate, so 0 or 1).
    std::vector<std::vector<int32_t>> Counts;
    int32_t TestedCount = 0;
    int32_t RecognisedCount = 0;
};
TConfusionMatrix ConfusionMatrixOf(const TValidationReport& report);
// "2 of 3 recognised; Mimic's lines went to Sailor".
std::u16string ConfusionReading(const TConfusionMatrix& matrix);

}  // namespace quillprint
