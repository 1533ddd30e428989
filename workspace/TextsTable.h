// The table of many disputed texts: one row per text of "Unknown" with its
// most likely candidate and the runner-up.
#pragma once

#include <vector>

#include "workspace/EachText.h"
#include "workspace/Grid.h"

namespace quillprint {

// Column 0 numbers the texts in text order from 1, so that the rows of
// separate runs over parts of the texts can be merged by sorting on it.
inline constexpr int32_t kTextsNumberColumn = 0;
inline constexpr int32_t kTextsLabelColumn = 1;
// Holds the error of a text without a result.
inline constexpr int32_t kTextsMostLikelyColumn = 3;

// The header row: "No.", "Text", "Words", "Most likely", "Probability",
// "Description", "Runner-up", "Probability", "Margin", and "Draws won" (of
// the most likely candidate) when `balanced`.
TGrid NewTextsGrid(bool balanced);

// Writes row `row` (1-based) for text number `number` (1-based). The row
// score, which colours the row, is the most likely candidate's shown score.
void SetTextsRow(TGrid& grid, int32_t row, size_t number, const TTextOutcome& outcome);

// The whole table: the header and one row per outcome, in order.
TGrid TextsGrid(const std::vector<TTextOutcome>& outcomes, bool balanced);

// Colour of a cell of TextsGrid(outcomes): the runner-up and its
// probability by the runner-up's own score, the margin plain, every other
// cell by the most likely candidate's score.
TScoreColour TextsCellColour(const TGrid& grid, const std::vector<TTextOutcome>& outcomes, int32_t col, int32_t row);

}  // namespace quillprint
