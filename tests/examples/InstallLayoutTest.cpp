// `cmake --install` puts the programs in bin/, the examples, the help document
// and the cluster script in the data folder share/quillprint, and adds a
// desktop entry.
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
    static fs::path BinDir() { return Prefix() / "bin"; }
    static fs::path DataDir() { return Prefix() / "share" / "quillprint"; }

    static inline quillprint::testing::TTempFolder* Temp = nullptr;
    static inline quillprint::testing::TProgramRun Install;
};

TEST_F(InstalledTree, ProgramsInBinAndTheirDataInShare) {
    ASSERT_EQ(Install.ExitCode, 0) << Install.Output;
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(BinDir() / "quillprint-cli")));
    if (QUILLPRINT_HAS_WINDOW) {
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(BinDir() / "quillprint")));
    }
    EXPECT_TRUE(fs::is_regular_file(DataDir() / "Quillprint.pdf"));
    EXPECT_TRUE(fs::is_regular_file(DataDir() / "quillprint-each.slurm"));
    for (const char* example : {"FederalistShort", "Authors", "Presidents", "Candidates", "Tutorial", "Chat"})
        EXPECT_TRUE(fs::is_directory(DataDir() / "Examples" / example / "Unknown")) << example;
    // Nothing architecture-independent under lib/.
    EXPECT_FALSE(fs::exists(Prefix() / "lib" / "quillprint"));
}

TEST_F(InstalledTree, InstalledCommandLineToolCalculates) {
    ASSERT_EQ(Install.ExitCode, 0) << Install.Output;
    const auto run =
        RunProgram({(BinDir() / "quillprint-cli").string(), (DataDir() / "Examples" / "Tutorial").string()}, true);
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
