// quillprint-cli --report: the window's report of a calculation, written
// without a window.
#pragma once

#include <ostream>

#include "cli/CliOptions.h"

namespace quillprint::cli {

// Loads the project, calculates as the options ask (and validates with
// --validation-report) and writes the report to options.ReportFile.
// Returns the exit status as RunCli does.
int RunReport(const TCliOptions& options, std::ostream& err);

}  // namespace quillprint::cli
