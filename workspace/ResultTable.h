// The results table: candidates ranked by score, the test author last.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "workspace/Grid.h"

namespace quillprint {

class TQuillprint;
struct TCalculationResult;

// An entry of the author chooser of the page "Stylometry".
struct TAuthorChoice {
    std::u16string Name;
    int32_t EngineIndex;  // position in TQuillprint::Authors()
};

// A fresh results table: 4 columns, 6 rows, the header row written.
TGrid NewResultGrid();

// One row of the results table as numbers.
struct TRankedCandidate {
    std::u16string Name;
    int32_t EngineIndex = -1;  // position in TQuillprint::Authors()
    double Score = 0;          // the shown score (ShownScore); the test author's is 2
    int32_t Words = 0;
    int32_t DrawsWon = -1;  // -1: not a balanced run, or the test author
    bool IsTestAuthor() const;
};

// The results table as numbers: what the table, the chart and the report
// are made from, so that none of them reads another's formatted text.
struct TResultRanking {
    // Highest score first, ties in engine order; the test author last.
    std::vector<TRankedCandidate> Rows;
    bool Balanced = false;     // the table has the column "Draws won"
    int32_t AverageWords = 0;  // of every author, for the words' notes
    // Copied passages left out of the test text: the shortest length (0:
    // none) and the words left out.
    int32_t LeaveOutCopies = 0;
    int32_t WordsLeftOut = 0;
};

// The ranking of a plain or balanced calculation; empty without an engine.
TResultRanking RankResult(const TCalculationResult& result);

// How the column "Probability" writes a candidate's shown score.
using TPercentFormat = std::function<std::u16string(double)>;

// The results table of `ranking` (rows, cells, row scores and authors).
// `percent` writes the candidates' percentages (FormatPercent by default).
void FillResultGrid(const TResultRanking& ranking, TGrid& table, const TPercentFormat& percent = {});

// The chooser's entries: the engine's authors in the engine's order.
std::vector<TAuthorChoice> AuthorChoices(const TQuillprint& engine);

// Fills `table` from an engine on which Detect has run and refills the
// chooser with the engine's authors in the engine's order.
void FillResultTable(const TQuillprint& engine, TGrid& table, std::vector<TAuthorChoice>& authorChoices);

// A balanced calculation: candidates ranked by their mean score over the
// draws (percentage, verdict and colour by that mean), with a fifth column
// "Draws won"; words, notes and the chooser come from the first draw's engine.
// `meanScores` and `drawsWon` hold one entry per candidate in engine order.
void FillBalancedResultTable(const TQuillprint& firstDraw, const std::vector<double>& meanScores,
                             const std::vector<int32_t>& drawsWon, TGrid& table,
                             std::vector<TAuthorChoice>& authorChoices);

// Either of the above, as `result` was plain or balanced; nothing without an engine.
void FillResultTable(const TCalculationResult& result, TGrid& table, std::vector<TAuthorChoice>& authorChoices);

// The column "Draws won" of a balanced calculation.
inline constexpr int32_t kDrawsWonColumn = 4;

// The score a row shows: above 0.99 and below 2 it is capped at 0.99.
double ShownScore(double koef);

// The score as a whole percentage: d x 100 in long double, halves to even.
int64_t WholePercent(double d);
// WholePercent with a percent sign: "81%".
std::u16string FormatPercent(double d);
// The column "Probability" of a shown score: its percentage, or the test
// author's "The same as Unknown text".
std::u16string ProbabilityText(double d);
// The column "Description": "Most likely", "Maybe" or "Hardly" by the score's
// band ("The same as Unknown text" for the test author's 2).
std::u16string Verdict(double d);

}  // namespace quillprint
