// The analysis table: phrases the test text shares with exactly one candidate.
#pragma once

#include "workspace/Grid.h"

namespace quillprint {

class TQuillprint;

// At most this many phrases are listed.
inline constexpr int32_t kMaxAnalysisRows = 999;

// A fresh analysis table: 5 columns, 5 empty rows.
TGrid NewAnalysisGrid();

// Fills `table` from an engine on which Detect has run.
void FillAnalysisTable(const TQuillprint& engine, TGrid& table);

}  // namespace quillprint
