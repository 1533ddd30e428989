// quillprint-cli --each: every text of "Unknown" attributed on its own.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/CliOptions.h"
#include "workspace/Confidence.h"
#include "workspace/RunRequest.h"

namespace quillprint::cli {

// Calculates the texts of this shard and prints them in text order as each
// is done: TSV rows of the table of texts, or one JSON object per line.
// Returns 1 when a text has no result, else 0. Errors reading a candidate
// reach the caller. A progress line goes to `err` when it is a terminal.
// With `fit`, every row also gets the chance that its first-ranked candidate
// is right and its verdict (columns "Chance" and "Verdict", or the JSON field
// "confidence"), and a text or candidate too short to judge by a line on
// `err` (and the JSON field "warnings"); `sampleWords` are the candidates'.
// `step` follows what it does, for the out-of-memory message.
int PrintEachText(const TRunRequest& project, const TCliOptions& options, std::ostream& out, std::ostream& err,
                  std::string& step, const TConfidenceFit* fit = nullptr, const std::vector<int64_t>& sampleWords = {});

}  // namespace quillprint::cli
