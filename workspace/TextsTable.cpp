#include "workspace/TextsTable.h"

#include "engine/Text.h"
#include "workspace/ResultTable.h"

namespace quillprint {

namespace {

enum TColumn : int32_t {
    kWords = 2,
    kProbability = 4,
    kDescription = 5,
    kRunnerUp = 6,
    kRunnerUpProbability = 7,
    kMargin = 8,
    kDrawsWon = 9,
};

}  // namespace

TGrid NewTextsGrid(bool balanced) {
    TGrid grid(balanced ? kDrawsWon + 1 : kDrawsWon, 2);
    const char16_t* headers[] = {u"No.",         u"Text",      u"Words",       u"Most likely", u"Probability",
                                 u"Description", u"Runner-up", u"Probability", u"Margin",      u"Draws won"};
    for (int32_t col = 0; col < grid.ColCount(); ++col) grid.SetCell(col, 0, headers[col]);
    return grid;
}

void SetTextsRow(TGrid& grid, int32_t row, size_t number, const TTextOutcome& outcome) {
    grid.SetCell(kTextsNumberColumn, row, Decimal(static_cast<int64_t>(number)));
    grid.SetCell(kTextsLabelColumn, row, outcome.Label);
    if (outcome.Failed()) {
        grid.SetCell(kTextsMostLikelyColumn, row, outcome.Error);
        return;
    }
    grid.SetCell(kWords, row, Decimal(outcome.Words));
    const std::vector<size_t> ranking = outcome.Ranking();
    if (ranking.empty()) return;
    const TCandidateOutcome& first = outcome.Candidates[ranking[0]];
    const double shown = ShownScore(first.Score);
    grid.SetCell(kTextsMostLikelyColumn, row, first.Name);
    grid.SetCell(kProbability, row, ProbabilityText(shown));
    grid.SetCell(kDescription, row, Verdict(shown));
    grid.SetRowScore(row, static_cast<float>(shown));
    if (grid.ColCount() > kDrawsWon && first.DrawsWon >= 0) grid.SetCell(kDrawsWon, row, Decimal(first.DrawsWon));
    if (ranking.size() < 2) return;
    const TCandidateOutcome& second = outcome.Candidates[ranking[1]];
    const double secondShown = ShownScore(second.Score);
    grid.SetCell(kRunnerUp, row, second.Name);
    grid.SetCell(kRunnerUpProbability, row, ProbabilityText(secondShown));
    // The difference of the two percentages as shown, so that the row adds up.
    grid.SetCell(kMargin, row, Decimal(WholePercent(shown) - WholePercent(secondShown)) + u"%");
}

TGrid TextsGrid(const std::vector<TTextOutcome>& outcomes, bool balanced) {
    TGrid grid = NewTextsGrid(balanced);
    grid.SetRowCount(static_cast<int32_t>(outcomes.size()) + 1);
    for (size_t i = 0; i < outcomes.size(); ++i) SetTextsRow(grid, static_cast<int32_t>(i) + 1, i + 1, outcomes[i]);
    return grid;
}

TScoreColour TextsCellColour(const TGrid& grid, const std::vector<TTextOutcome>& outcomes, int32_t col, int32_t row) {
    if (col == kMargin) return TScoreColour::Ordinary;
    if (col != kRunnerUp && col != kRunnerUpProbability) return ResultCellColour(grid, col, row);
    if (row < 1 || static_cast<size_t>(row) > outcomes.size()) return TScoreColour::Ordinary;
    const TTextOutcome& outcome = outcomes[static_cast<size_t>(row) - 1];
    if (outcome.Failed()) return TScoreColour::Ordinary;
    const std::vector<size_t> ranking = outcome.Ranking();
    if (ranking.size() < 2) return TScoreColour::Ordinary;
    // Rounded as the row scores are, so that both sides of the row agree with "Result".
    return ScoreColour(static_cast<float>(ShownScore(outcome.Candidates[ranking[1]].Score)));
}

}  // namespace quillprint
