#include "CliRun.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

#include "TempProject.h"

namespace quillprint::testing {

std::string Slurp(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

TRun RunCli(const std::string& arguments) { return RunCli(arguments, {}); }

TRun RunCli(const std::string& arguments, const TCliSetup& setup) {
    TTempFolder outputs;
    const std::filesystem::path out = outputs.Path() / "out", err = outputs.Path() / "err";
    const std::string target = setup.Output.empty() ? out.string() : setup.Output;
    const std::string command = setup.Before + " LANG=en_US.UTF-8 LC_ALL= " + setup.Wrapper + " " +
                                Quoted(QUILLPRINT_CLI) + " " + arguments + " >" + Quoted(target) + " 2>" +
                                Quoted(err.string());
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(out), Slurp(err)};
}

}  // namespace quillprint::testing
