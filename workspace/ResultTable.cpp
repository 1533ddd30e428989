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

namespace {

// One row of the table: an author with the score it is ranked and shown by.
struct TResultRow {
    const TAuthor* Author;
    int32_t EngineIndex;
    double Score;
    int32_t DrawsWon;  // -1: no such column or no such count
};

void FillResultRows(std::vector<TResultRow> rows, const TQuillprint& engine, TGrid& sgResult,
                    std::vector<TAuthorChoice>& cbAuthors) {
    // Highest score first. Ties may come in any order; a stable sort keeps the
    // engine's order so that runs are reproducible.
    std::stable_sort(rows.begin(), rows.end(),
                     [](const TResultRow& left, const TResultRow& right) { return left.Score > right.Score; });
    // The test author, scored 2, leads; it belongs at the end.
    if (!rows.empty()) std::rotate(rows.begin(), rows.begin() + 1, rows.end());

    sgResult.SetRowCount(static_cast<int32_t>(rows.size()) + 1);
    cbAuthors.clear();
    const int32_t average = engine.AverageWordCounts();
    const bool drawsColumn = sgResult.ColCount() > kDrawsWonColumn;
    for (size_t i = 0; i < rows.size(); ++i) {
        const TAuthor& author = *rows[i].Author;
        const int32_t row = static_cast<int32_t>(i) + 1;
        const double d = ShownScore(rows[i].Score);
        sgResult.SetCell(0, row, author.Name());
        sgResult.SetCell(1, row, ProbabilityText(d));
        sgResult.SetRowScore(row, static_cast<float>(d));
        sgResult.SetRowAuthor(row, rows[i].EngineIndex);
        sgResult.SetCell(2, row, Verdict(d));
        sgResult.SetCell(3, row, WordsCell(author.WordCount(), average, i + 1 == rows.size()));
        if (drawsColumn)
            sgResult.SetCell(kDrawsWonColumn, row, rows[i].DrawsWon < 0 ? u"" : Decimal(rows[i].DrawsWon));
    }

    const auto& authors = engine.Authors();
    for (size_t k = 0; k < authors.size(); ++k) cbAuthors.push_back({authors[k]->Name(), static_cast<int32_t>(k)});
}

}  // namespace

double ShownScore(double koef) {
    // Candidates are never shown above 99 %.
    return koef > 0.99 && koef < 2 ? 0.99 : koef;
}

void LoadGridResults(const TQuillprint& engine, TGrid& sgResult, std::vector<TAuthorChoice>& cbAuthors) {
    std::vector<TResultRow> rows;
    const auto& authors = engine.Authors();
    for (size_t a = 0; a < authors.size(); ++a)
        rows.push_back({authors[a].get(), static_cast<int32_t>(a), authors[a]->Koef(), -1});
    // A balanced calculation may have left its extra column.
    sgResult.SetColCount(kDrawsWonColumn);
    FillResultRows(std::move(rows), engine, sgResult, cbAuthors);
}

void LoadGridBalancedResults(const TQuillprint& firstDraw, const std::vector<double>& meanScores,
                             const std::vector<int32_t>& drawsWon, TGrid& sgResult,
                             std::vector<TAuthorChoice>& cbAuthors) {
    std::vector<TResultRow> rows;
    const auto& authors = firstDraw.Authors();
    for (size_t a = 0; a < authors.size(); ++a) {
        const bool candidate = a < meanScores.size() && a < drawsWon.size();
        rows.push_back({authors[a].get(), static_cast<int32_t>(a), candidate ? meanScores[a] : authors[a]->Koef(),
                        candidate ? drawsWon[a] : -1});
    }
    sgResult.SetColCount(kDrawsWonColumn + 1);
    sgResult.SetCell(kDrawsWonColumn, 0, u"Draws won");
    FillResultRows(std::move(rows), firstDraw, sgResult, cbAuthors);
}

void LoadGridResults(const TCalculationResult& result, TGrid& sgResult, std::vector<TAuthorChoice>& cbAuthors) {
    if (!result.Engine) return;
    if (result.Balanced)
        LoadGridBalancedResults(*result.Engine, result.MeanScores, result.DrawsWon, sgResult, cbAuthors);
    else
        LoadGridResults(*result.Engine, sgResult, cbAuthors);
    // The unknown text, last, says how much of it was left out.
    if (result.Engine->LeaveOutCopies() > 0 && sgResult.RowCount() > 1) {
        const int32_t row = sgResult.RowCount() - 1;
        sgResult.SetCell(3, row, sgResult.Cell(3, row) + WordsLeftOutNote(result.Engine->WordsLeftOut()));
    }
}

}  // namespace quillprint
