#include "RunProgram.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

#include "TempProject.h"

namespace quillprint::testing {

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string Slurp(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

TCommandRun RunCommand(const std::string& command) {
    TTempFolder outputs;
    const std::filesystem::path out = outputs.Path() / "out", err = outputs.Path() / "err";
    // The braces make the redirections hold for the whole command, so a
    // "2>&1" inside it sends standard error to the output file.
    const std::string redirected =
        "{ " + command + "\n} >" + ShellQuoted(out.string()) + " 2>" + ShellQuoted(err.string());
    const int status = std::system(redirected.c_str());
    return {status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(out), Slurp(err)};
}

TProgramRun RunProgram(const std::vector<std::string>& args, bool withStandardError) {
    std::string command;
    for (const std::string& arg : args) command += ShellQuoted(arg) + " ";
    command += withStandardError ? "2>&1" : "2>/dev/null";
    const TCommandRun run = RunCommand(command);
    return {run.Exit, run.Out};
}

}  // namespace quillprint::testing
