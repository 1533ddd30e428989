#include "UiTestProgram.h"

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace quillprint::test {
namespace {

std::map<std::string, TUiTestRun>& Registry() {
    static std::map<std::string, TUiTestRun> tests;
    return tests;
}

}  // namespace

bool RegisterUiTest(const char* className, TUiTestRun run) {
    std::string name(className);
    if (const size_t colons = name.rfind("::"); colons != std::string::npos) name.erase(0, colons + 2);
    return Registry().emplace(std::move(name), run).second;
}

}  // namespace quillprint::test

// quillprint_ui_tests CLASS [Qt Test options...]
int main(int argc, char** argv) {
    const auto& tests = quillprint::test::Registry();
    const auto test = argc > 1 ? tests.find(argv[1]) : tests.end();
    if (test == tests.end()) {
        std::fprintf(stderr, "usage: %s CLASS [Qt Test options]; the classes:\n", argv[0]);
        for (const auto& [name, run] : tests) std::fprintf(stderr, "  %s\n", name.c_str());
        return 2;
    }
    // The class's own run sees the program's name and the options after the class.
    std::vector<char*> arguments{argv[0]};
    arguments.insert(arguments.end(), argv + 2, argv + argc);
    arguments.push_back(nullptr);
    return test->second(argc - 1, arguments.data());
}
