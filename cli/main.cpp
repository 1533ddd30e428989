// quillprint-cli: the attribution of a project folder, without a window.
#include <iostream>
#include <string>
#include <vector>

#include "cli/CliExtract.h"
#include "cli/CliOptions.h"
#include "cli/CliOutput.h"
#include "cli/CliReport.h"
#include "cli/CliRun.h"

namespace {

// A verdict must never look printed when it was not: a failed write (a full
// disk, a closed pipe) ends with status 1 and says so. Output written by
// the run is checked as it goes; this catches what is left in the buffer.
int CheckOutput(int status) {
    if (status != 0) return status;
    try {
        quillprint::cli::WriteOut(std::cout, {});
    } catch (const quillprint::cli::TOutputError& error) {
        std::cerr << quillprint::cli::VisibleMessage(error.what()) << '\n';
        return 1;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace quillprint::cli;
    std::ios::sync_with_stdio(false);
    std::string error;
    const auto options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::cerr << "quillprint-cli: " << VisibleMessage(error) << "\nTry 'quillprint-cli --help'.\n";
        return 2;
    }
    if (options->Help) {
        try {
            WriteOut(std::cout, UsageText());
        } catch (const TOutputError& error) {
            std::cerr << VisibleMessage(error.what()) << '\n';
            return 1;
        }
        return 0;
    }
    if (!options->ExtractFile.empty()) return CheckOutput(RunExtract(*options, std::cout, std::cerr));
    if (!options->ReportFile.empty()) return RunReport(*options, std::cerr);
    return CheckOutput(RunCli(*options, std::cout, std::cerr));
}
