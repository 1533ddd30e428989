// Runs a program the way a user would and collects what it prints, for tests
// of the built programs and tools.
#pragma once

#include <string>
#include <vector>

namespace quillprint::testing {

struct TProgramRun {
    int ExitCode = -1;   // -1 when the program could not be started or was killed
    std::string Output;  // standard output, and standard error when asked for
};

// Runs `args` (program first) through the shell, each argument quoted.
TProgramRun RunProgram(const std::vector<std::string>& args, bool withStandardError = false);

}  // namespace quillprint::testing
