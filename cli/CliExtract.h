// quillprint-cli --extract: a chat export's participants, listed or written
// out as a new project folder.
#pragma once

#include <ostream>

#include "cli/CliOptions.h"

namespace quillprint::cli {

// --participants: prints "Entry<TAB>Lines" and one row per participant entry.
// --into DIR: writes DIR/<participant>/<export file name> per participant and
// DIR/Unknown (empty, or the --unknown participant's lines); prints
// "Folder<TAB>Lines" and one row per folder. Returns the exit status: 0; 1 the
// export cannot be read, holds no participant, or DIR cannot be written; 2 DIR
// is not an empty folder or --unknown names no participant.
int RunExtract(const TCliOptions& options, std::ostream& out, std::ostream& err);

}  // namespace quillprint::cli
