// The results table: candidates ranked by score, the test author last.
#pragma once

#include <cstdint>
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

// Fills sgResult from an engine on which Detect has run and refills the
// chooser with the engine's authors in the engine's order.
void LoadGridResults(const TQuillprint& engine, TGrid& sgResult, std::vector<TAuthorChoice>& cbAuthors);

// A balanced calculation: candidates ranked by their mean score over the
// draws (percentage, verdict and colour by that mean), with a fifth column
// "Draws won"; words, notes and the chooser come from the first draw's engine.
// `meanScores` and `drawsWon` hold one entry per candidate in engine order.
void LoadGridBalancedResults(const TQuillprint& firstDraw, const std::vector<double>& meanScores,
                             const std::vector<int32_t>& drawsWon, TGrid& sgResult,
                             std::vector<TAuthorChoice>& cbAuthors);

// Either of the above, as `result` was plain or balanced; nothing without an engine.
void LoadGridResults(const TCalculationResult& result, TGrid& sgResult, std::vector<TAuthorChoice>& cbAuthors);

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
