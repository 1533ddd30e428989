#include "workspace/ResultTable.h"

#include <algorithm>

#include "engine/Quillprint.h"
#include "engine/ScoreFormat.h"
#include "engine/Text.h"
#include "workspace/Calculation.h"
#include "workspace/CopiedPassages.h"

namespace quillprint {

namespace {

// The word count, with a note when the average is more than twice or less
// than half of it (ratio in single precision).
std::u16string WordsCell(int32_t wordCount, int32_t average, bool isLastRow) {
    std::u16string text = Decimal(wordCount);
    if (isLastRow) return text;
    const float ratio = wordCount > 0 ? static_cast<float>(average) / static_cast<float>(wordCount) : 0.0f;
    if (ratio > 2 || ratio < 0.5f) text += u"  !Too far from average(" + Decimal(average) + u")";
    return text;
}

}  // namespace

TGrid NewResultGrid() {
    return GridWithHeaders(6, {u"Author", u"Probability", u"Description", u"Words"});
}

std::u16string Verdict(double d) {
    if (d == kTestAuthorScore) return u"The same as Unknown text";
    switch (ScoreColour(d)) {
    case TScoreColour::GreenBold: return u"Most likely";
    case TScoreColour::Blue: return u"Maybe";
    case TScoreColour::Ordinary: break;
    }
    if (d < kMaybeScore) return u"Hardly";
    return {};  // above 2: the engine gives no such score
}

std::u16string ProbabilityText(double d) {
    return d == kTestAuthorScore ? u"The same as Unknown text" : FormatPercent(d);
}

int64_t WholePercent(double d) { return RoundHalfEven(static_cast<long double>(d) * 100); }

std::u16string FormatPercent(double d) { return Decimal(WholePercent(d)) + u"%"; }

bool TRankedCandidate::IsTestAuthor() const { return Score == kTestAuthorScore; }

double ShownScore(double koef) {
    // Candidates are never shown above 99 %.
    return koef > 0.99 && koef < 2 ? 0.99 : koef;
}

namespace {

// Every author with the score it is ranked by (the mean over the draws when
// `meanScores` is given) and its draws won, ranked as the table shows them.
std::vector<TRankedCandidate> RankAuthors(const TQuillprint& engine, const std::vector<double>* meanScores,
                                          const std::vector<int32_t>* drawsWon) {
    std::vector<TRankedCandidate> rows;
    const auto& authors = engine.Authors();
    for (size_t a = 0; a < authors.size(); ++a) {
        const bool candidate = meanScores && drawsWon && a < meanScores->size() && a < drawsWon->size();
        rows.push_back({authors[a]->Name(), static_cast<int32_t>(a), candidate ? (*meanScores)[a] : authors[a]->Koef(),
                        authors[a]->WordCount(), candidate ? (*drawsWon)[a] : -1});
    }
    // Highest score first. Ties may come in any order; a stable sort keeps the
    // engine's order so that runs are reproducible.
    std::stable_sort(rows.begin(), rows.end(), [](const TRankedCandidate& left, const TRankedCandidate& right) {
        return left.Score > right.Score;
    });
    // The test author, scored 2, leads; it belongs at the end.
    if (!rows.empty()) std::rotate(rows.begin(), rows.begin() + 1, rows.end());
    for (TRankedCandidate& row : rows) row.Score = ShownScore(row.Score);
    return rows;
}

TResultRanking Ranking(const TQuillprint& engine, const std::vector<double>* meanScores,
                       const std::vector<int32_t>* drawsWon) {
    TResultRanking ranking;
    ranking.Rows = RankAuthors(engine, meanScores, drawsWon);
    ranking.Balanced = meanScores != nullptr;
    ranking.AverageWords = engine.AverageWordCounts();
    return ranking;
}

}  // namespace

std::vector<TAuthorChoice> AuthorChoices(const TQuillprint& engine) {
    std::vector<TAuthorChoice> choices;
    const auto& authors = engine.Authors();
    for (size_t k = 0; k < authors.size(); ++k) choices.push_back({authors[k]->Name(), static_cast<int32_t>(k)});
    return choices;
}

TResultRanking RankResult(const TCalculationResult& result) {
    if (!result.Engine) return {};
    TResultRanking ranking = result.Balanced ? Ranking(*result.Engine, &result.MeanScores, &result.DrawsWon)
                                             : Ranking(*result.Engine, nullptr, nullptr);
    ranking.LeaveOutCopies = result.Engine->LeaveOutCopies();
    ranking.WordsLeftOut = result.Engine->WordsLeftOut();
    return ranking;
}

void FillResultGrid(const TResultRanking& ranking, TGrid& table, const TPercentFormat& percent) {
    // A balanced calculation adds its column; a plain one drops it.
    table.SetColCount(ranking.Balanced ? kDrawsWonColumn + 1 : kDrawsWonColumn);
    if (ranking.Balanced) table.SetCell(kDrawsWonColumn, 0, u"Draws won");
    const std::vector<TRankedCandidate>& rows = ranking.Rows;
    table.SetRowCount(static_cast<int32_t>(rows.size()) + 1);
    for (size_t i = 0; i < rows.size(); ++i) {
        const TRankedCandidate& candidate = rows[i];
        const int32_t row = static_cast<int32_t>(i) + 1;
        const double d = candidate.Score;
        table.SetCell(0, row, candidate.Name);
        table.SetCell(1, row, percent && !candidate.IsTestAuthor() ? percent(d) : ProbabilityText(d));
        table.SetRowScore(row, static_cast<float>(d));
        table.SetRowAuthor(row, candidate.EngineIndex);
        table.SetCell(2, row, Verdict(d));
        table.SetCell(3, row, WordsCell(candidate.Words, ranking.AverageWords, i + 1 == rows.size()));
        if (ranking.Balanced)
            table.SetCell(kDrawsWonColumn, row, candidate.DrawsWon < 0 ? u"" : Decimal(candidate.DrawsWon));
    }
    // The unknown text, last, says how much of it was left out.
    if (ranking.LeaveOutCopies > 0 && table.RowCount() > 1) {
        const int32_t row = table.RowCount() - 1;
        table.SetCell(3, row, table.Cell(3, row) + WordsLeftOutNote(ranking.WordsLeftOut));
    }
}

void FillResultTable(const TQuillprint& engine, TGrid& table, std::vector<TAuthorChoice>& authorChoices) {
    FillResultGrid(Ranking(engine, nullptr, nullptr), table);
    authorChoices = AuthorChoices(engine);
}

void FillBalancedResultTable(const TQuillprint& firstDraw, const std::vector<double>& meanScores,
                             const std::vector<int32_t>& drawsWon, TGrid& table,
                             std::vector<TAuthorChoice>& authorChoices) {
    FillResultGrid(Ranking(firstDraw, &meanScores, &drawsWon), table);
    authorChoices = AuthorChoices(firstDraw);
}

void FillResultTable(const TCalculationResult& result, TGrid& table, std::vector<TAuthorChoice>& authorChoices) {
    if (!result.Engine) return;
    FillResultGrid(RankResult(result), table);
    authorChoices = AuthorChoices(*result.Engine);
}

}  // namespace quillprint
