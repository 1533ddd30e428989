// Runs the built quillprint-cli as a user would and keeps what it prints.
#pragma once

#include <filesystem>
#include <string>

namespace quillprint::testing {

struct TRun {
    int Exit = -1;
    std::string Out;
    std::string Err;
};

// The whole content of a file, or empty when it cannot be read.
std::string Slurp(const std::filesystem::path& path);

// `text` quoted for the shell.
std::string Quoted(const std::string& text);

// Runs quillprint-cli with `arguments` (already quoted) under a pinned
// environment locale; its output goes to files in a folder of its own,
// never into the project.
TRun RunCli(const std::string& arguments);

}  // namespace quillprint::testing
