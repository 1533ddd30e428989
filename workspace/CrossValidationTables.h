// The tables of a cross-validation, for the window and the command-line tool:
// the figures, per candidate, the confusion matrix and the list of checks.
#pragma once

#include <string>

#include "workspace/CrossValidation.h"
#include "workspace/Grid.h"

namespace quillprint {

// "Seed", "Excerpt", "Checks", "Accuracy", "Cosine Delta": one row each.
TGrid CrossValidationFiguresGrid(const TCrossValidation& validation);
// "Candidate", "Checks", "Recall", "Precision", "Cosine Delta recall".
TGrid CandidateFiguresGrid(const TCrossValidation& validation);
// The true author down, the author ranked first across.
TGrid ConfusionGrid(const TCrossValidation& validation);
// "Text", "Author", "Words", "Ranked first", "Runner-up", "Margin", "Right",
// "Cosine Delta".
TGrid CrossChecksGrid(const TCrossValidation& validation);

// "62 of 73 right (85%)".
std::u16string RightText(int32_t right, size_t checks);
// A margin as the difference of two shown percentages would read: "12.3".
std::u16string MarginText(double margin);

}  // namespace quillprint
