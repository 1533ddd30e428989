// Runs a program the way a user would and collects what it prints, for tests
// of the built programs and tools. One runner for every test folder.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quillprint::testing {

// `text` quoted for the shell: 'it'\''s' is how a single quote is written
// inside a single-quoted word.
std::string ShellQuoted(const std::string& text);

// The whole content of a file, or empty when it cannot be read.
std::string Slurp(const std::filesystem::path& path);

struct TCommandRun {
    int Exit = -1;  // -1 when the command could not be started or was killed
    std::string Out;
    std::string Err;
};

// Runs `command` (already quoted) through the shell. Its standard output and
// error go to files in a temporary folder of their own, never into the
// current folder, and are kept apart.
TCommandRun RunCommand(const std::string& command);

struct TProgramRun {
    int ExitCode = -1;   // -1 when the program could not be started or was killed
    std::string Output;  // standard output, and standard error when asked for
};

// Runs `args` (program first), each argument quoted.
TProgramRun RunProgram(const std::vector<std::string>& args, bool withStandardError = false);

}  // namespace quillprint::testing
