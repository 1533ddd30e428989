// What a finished run computed, as numbers and engines, never as table text:
// one alternative per kind of run. The tables, charts and reports are made
// from it by pure functions (ResultTable.h, TextsTable.h, ChartData.h,
// ValidationReport.h, CrossValidationTables.h, CopiedPassages.h).
#pragma once

#include <variant>
#include <vector>

#include "workspace/Calculation.h"
#include "workspace/CopiedPassages.h"
#include "workspace/CrossValidation.h"
#include "workspace/EachText.h"
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
// their own alternative.
using TRunResult =
    std::variant<TCalculationResult, TEachTextResult, TValidationReport, TCrossValidation, TCopiedPassagesResult>;

}  // namespace quillprint
