#include "CliRun.h"

namespace quillprint::testing {

TRun RunCli(const std::string& arguments) { return RunCli(arguments, {}); }

TRun RunCli(const std::string& arguments, const TCliSetup& setup) {
    // A redirection of quillprint-cli's own output overrides the runner's
    // output file for that one command; the runner's file then stays empty.
    const std::string output = setup.Output.empty() ? "" : " >" + Quoted(setup.Output);
    return RunCommand(setup.Before + " LANG=en_US.UTF-8 LC_ALL= " + setup.Wrapper + " " + Quoted(QUILLPRINT_CLI) +
                      " " + arguments + output);
}

}  // namespace quillprint::testing
