// quillprint-cli: the attribution of a project folder, without a window.
#include <iostream>
#include <string>
#include <vector>

#include "cli/CliExtract.h"
#include "cli/CliOptions.h"
#include "cli/CliRun.h"

int main(int argc, char** argv) {
    using namespace quillprint::cli;
    std::ios::sync_with_stdio(false);
    std::string error;
    const auto options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::cerr << "quillprint-cli: " << error << "\nTry 'quillprint-cli --help'.\n";
        return 2;
    }
    if (options->Help) {
        std::cout << UsageText();
        return 0;
    }
    if (!options->ExtractFile.empty()) return RunExtract(*options, std::cout, std::cerr);
    return RunCli(*options, std::cout, std::cerr);
}
