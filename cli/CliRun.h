// One run of quillprint-cli on a project folder.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "cli/CliOptions.h"

namespace quillprint::cli {

// Loads the project, calculates and prints what the options ask for.
// Returns the exit status: 0, 1 (a text unreadable or the engine failed) or
// 2 (no "Unknown" folder, or an author index outside the engine).
int RunCli(const TCliOptions& options, std::ostream& out, std::ostream& err);

// The line on standard error for an entry of the project that is not read:
// Left out "<author>/<file>": <note>
std::string LeftOutLine(std::u16string_view name, std::u16string_view note);

// What is wrong with the project path, or nothing when it is a folder that
// can be listed. Sets `status` to the exit status for the problem.
std::string ProjectPathProblem(const std::string& path, int& status);

// Refuses an unknown --locale and a project path that is no listable folder,
// on `err`; the exit status for the problem, 0 when there is none.
int CheckLocaleAndProject(const TCliOptions& options, std::ostream& err);

}  // namespace quillprint::cli
