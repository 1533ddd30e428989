// Which options of quillprint-cli go together: pairs that cannot be combined
// (one would be ignored or would change what the other prints) and options
// that mean something only beside another.
#pragma once

#include <set>
#include <string>

#include "cli/CliOptions.h"

namespace quillprint::cli {

// `given` holds every option of the command line by its long name
// ("--quiet" for -q). Returns the message for the first rule broken, naming
// both options, or nothing.
std::string BrokenOptionRule(const TCliOptions& options, const std::set<std::string>& given);

}  // namespace quillprint::cli
