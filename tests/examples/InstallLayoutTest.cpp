// `cmake --install` puts the programs, the examples and the help document in
// one folder, links the programs into bin/ and adds a desktop entry, so the
// installed program finds its examples and help beside its executable.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "RunProgram.h"
#include "TempProject.h"

namespace {

namespace fs = std::filesystem;
using quillprint::testing::RunProgram;

class InstalledTree : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Temp = new quillprint::testing::TTempFolder();
        Install = RunProgram({QUILLPRINT_CMAKE, "--install", QUILLPRINT_BUILD_DIR, "--prefix",
                              Prefix().string()},
                             true);
    }
    static void TearDownTestSuite() {
        delete Temp;
        Temp = nullptr;
    }
    static fs::path Prefix() { return Temp->Path() / "prefix"; }
    static fs::path AppDir() { return Prefix() / "lib" / "quillprint"; }

    static inline quillprint::testing::TTempFolder* Temp = nullptr;
    static inline quillprint::testing::TProgramRun Install;
};

TEST_F(InstalledTree, HoldsProgramsExamplesAndHelpTogether) {
    ASSERT_EQ(Install.ExitCode, 0) << Install.Output;
    EXPECT_TRUE(fs::is_regular_file(AppDir() / "quillprint-cli"));
    if (QUILLPRINT_HAS_WINDOW) {
        EXPECT_TRUE(fs::is_regular_file(AppDir() / "quillprint"));
    }
    EXPECT_TRUE(fs::is_regular_file(AppDir() / "Quillprint.pdf"));
    for (const char* example : {"FederalistShort", "Authors", "Presidents", "Candidates", "Tutorial", "Chat"})
        EXPECT_TRUE(fs::is_directory(AppDir() / "Examples" / example / "Unknown")) << example;
}

TEST_F(InstalledTree, ProgramsRunThroughTheirLinksInBin) {
    ASSERT_EQ(Install.ExitCode, 0) << Install.Output;
    const fs::path link = Prefix() / "bin" / "quillprint-cli";
    ASSERT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::canonical(link), fs::canonical(AppDir() / "quillprint-cli"));
    if (QUILLPRINT_HAS_WINDOW) {
        EXPECT_EQ(fs::canonical(Prefix() / "bin" / "quillprint"), fs::canonical(AppDir() / "quillprint"));
    }

    const auto run = RunProgram({link.string(), (AppDir() / "Examples" / "Tutorial").string()}, true);
    EXPECT_EQ(run.ExitCode, 0) << run.Output;
}

TEST_F(InstalledTree, DesktopEntryStartsTheInstalledWindow) {
    ASSERT_EQ(Install.ExitCode, 0) << Install.Output;
    std::ifstream entry(Prefix() / "share" / "applications" / "quillprint.desktop");
    ASSERT_TRUE(entry) << "no desktop entry";
    std::stringstream text;
    text << entry.rdbuf();
    EXPECT_NE(text.str().find("[Desktop Entry]"), std::string::npos);
    EXPECT_NE(text.str().find("\nExec=" + (Prefix() / "bin" / "quillprint").string() + "\n"),
              std::string::npos)
        << text.str();
    EXPECT_NE(text.str().find("\nIcon=quillprint\n"), std::string::npos);
    EXPECT_TRUE(fs::is_regular_file(Prefix() / "share/icons/hicolor/scalable/apps/quillprint.svg"));
}

}  // namespace
