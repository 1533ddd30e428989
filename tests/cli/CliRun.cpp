#include "CliRun.h"

#include <cstdlib>

namespace quillprint::testing {

namespace {

// "--jobs N " when QUILLPRINT_TEST_JOBS asks every run for N threads (the
// ThreadSanitizer run of tools/test.sh); a test's own --jobs comes later and wins.
std::string TestJobs() {
    const char* jobs = std::getenv("QUILLPRINT_TEST_JOBS");
    return jobs && *jobs ? "--jobs " + Quoted(jobs) + " " : "";
}

}  // namespace

TRun RunCli(const std::string& arguments) { return RunCli(arguments, {}); }

TRun RunCli(const std::string& arguments, const TCliSetup& setup) {
    // A redirection of quillprint-cli's own output overrides the runner's
    // output file for that one command; the runner's file then stays empty.
    const std::string output = setup.Output.empty() ? "" : " >" + Quoted(setup.Output);
    return RunCommand(setup.Before + " LANG=en_US.UTF-8 LC_ALL= " + setup.Wrapper + " " + Quoted(QUILLPRINT_CLI) + " " +
                      TestJobs() + arguments + output);
}

}  // namespace quillprint::testing
