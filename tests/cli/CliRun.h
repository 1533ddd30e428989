// Runs the built quillprint-cli as a user would and keeps what it prints.
#pragma once

#include <string>

#include "RunProgram.h"

namespace quillprint::testing {

using TRun = TCommandRun;

// `text` quoted for the shell.
inline std::string Quoted(const std::string& text) { return ShellQuoted(text); }

// Runs quillprint-cli with `arguments` (already quoted) under a pinned
// environment locale; its output goes to files in a folder of its own,
// never into the project.
TRun RunCli(const std::string& arguments);

// The same with the collation locale pinned to en_US.
inline TRun RunCliEnUs(const std::string& arguments) { return RunCli("--locale en_US " + arguments); }

// How a run differs from the plain one.
struct TCliSetup {
    std::string Before;   // shell commands run first, such as "ulimit -v 300000;"
    std::string Wrapper;  // a program (with its options) that starts quillprint-cli
    std::string Output;   // where standard output goes instead of a file, such as /dev/full
};
TRun RunCli(const std::string& arguments, const TCliSetup& setup);

// Runs quillprint-cli without the capabilities that let root pass by
// permission bits, so an unreadable folder is unreadable even in CI.
inline const std::string kWithoutOverride =
    "setpriv --inh-caps=-dac_override,-dac_read_search --bounding-set=-dac_override,-dac_read_search";

}  // namespace quillprint::testing
