#include "RunProgram.h"

#include <cstdio>
#include <sys/wait.h>

namespace quillprint::testing {
namespace {

// 'it'\''s' is how a single quote is written inside a single-quoted word.
std::string ShellQuoted(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

}  // namespace

TProgramRun RunProgram(const std::vector<std::string>& args, bool withStandardError) {
    std::string command;
    for (const std::string& arg : args)
        command += ShellQuoted(arg) + " ";
    command += withStandardError ? "2>&1" : "2>/dev/null";

    TProgramRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    size_t read;
    while ((read = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.Output.append(buffer, read);
    const int status = pclose(pipe);
    if (status != -1 && WIFEXITED(status))
        run.ExitCode = WEXITSTATUS(status);
    return run;
}

}  // namespace quillprint::testing
