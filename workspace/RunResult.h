// What a finished run computed, as numbers and engines, never as table text:
// one alternative per kind of run. The tables, charts and reports are made
// from it by pure functions (ResultTable.h, TextsTable.h, ChartData.h,
// ValidationReport.h, CrossValidationTables.h, CopiedPassages.h; a chat
// extraction is added to the tree or printed as a table).
#pragma once

#include <variant>
#include <vector>

#include "workspace/Calculation.h"
#include "workspace/CopiedPassages.h"
#include "workspace/CrossValidation.h"
#include "workspace/EachText.h"
#include "workspace/ExtractionResult.h"
#include "workspace/ValidationReport.h"

namespace quillprint {

// "Each text": one outcome row per text, in text order.
struct TEachTextResult {
    std::vector<TTextOutcome> Texts;
};

// The passages "Unknown" shares word for word with a candidate.
struct TCopiedPassagesResult {
    std::vector<TCopyRow> Rows;
};

// Calculation and validation run: TCalculationResult; the other kinds have
// their own alternative (a chat extraction: TExtractionResult).
using TRunResult = std::variant<TCalculationResult, TEachTextResult, TValidationReport, TCrossValidation,
                                TCopiedPassagesResult, TExtractionResult>;

}  // namespace quillprint
