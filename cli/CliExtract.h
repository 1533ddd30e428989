// quillprint-cli --extract: a chat export's participants, listed or written
// out as a new project folder.
#pragma once

#include <ostream>

#include "cli/CliOptions.h"

namespace quillprint::cli {

// --participants: prints "Entry<TAB>Lines" and one row per participant entry.
// --into DIR: writes DIR/<participant>/<export file name> per participant and
// DIR/Unknown (empty, or the --unknown participant's lines); prints
// "Folder<TAB>Lines" and one row per folder. The export is read message by
// message, and DIR is built beside it and renamed into place at the end: it
// appears whole or not at all. Returns the exit status: 0; 1 the export
// cannot be read, holds no participant, memory runs out or DIR cannot be
// written; 2 DIR is not an empty folder (or another run took it meanwhile)
// or --unknown names no participant.
int RunExtract(const TCliOptions& options, std::ostream& out, std::ostream& err);

}  // namespace quillprint::cli
