// The script that lays out the examples: a missing source costs only the
// examples made from it, with a message that says which and why, and a second
// run leaves exactly the wanted files behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "RunProgram.h"
#include "TempProject.h"

namespace {

namespace fs = std::filesystem;
using quillprint::testing::RunProgram;
using quillprint::testing::TTempFolder;

quillprint::testing::TProgramRun MakeExamples(const fs::path& output, const std::string& federalist,
                                              const std::string& sotu) {
    return RunProgram({QUILLPRINT_PYTHON, QUILLPRINT_MAKE_EXAMPLES, "--output", output.string(),
                       "--federalist", federalist, "--sotu", sotu,
                       "--tutorial", QUILLPRINT_TUTORIAL_SOURCES, "--chat", QUILLPRINT_CHAT_SOURCES},
                      true);
}

TEST(MakeExamples, MissingSourcesAreNamedAndTheOtherExamplesAreStillMade) {
    const TTempFolder temp;
    const fs::path output = temp.Path() / "Examples";
    const auto run = MakeExamples(output, QUILLPRINT_FEDERALIST_DIR,
                                  (temp.Path() / "no-such-tarball.tgz").string());

    EXPECT_EQ(run.ExitCode, 0) << run.Output;
    EXPECT_NE(run.Output.find("could not make the example \"Presidents\""), std::string::npos)
        << run.Output;
    EXPECT_NE(run.Output.find("could not make the example \"Candidates\""), std::string::npos);
    EXPECT_NE(run.Output.find("no-such-tarball.tgz"), std::string::npos) << "the reason names the path";
    EXPECT_FALSE(fs::exists(output / "Presidents"));
    EXPECT_TRUE(fs::is_directory(output / "FederalistShort" / "Unknown"));
    EXPECT_TRUE(fs::is_directory(output / "Tutorial" / "Unknown"));
}

TEST(MakeExamples, WithoutAnySourceOnlyTheTutorialAndTheChatAreMade) {
    const TTempFolder temp;
    const fs::path output = temp.Path() / "Examples";
    const auto run = MakeExamples(output, (temp.Path() / "no-corpus").string(),
                                  (temp.Path() / "no-tarball.tgz").string());

    EXPECT_EQ(run.ExitCode, 0) << run.Output;
    for (const char* example : {"FederalistShort", "Authors", "Presidents", "Candidates"}) {
        EXPECT_NE(run.Output.find(std::string("\"") + example + "\""), std::string::npos) << example;
        EXPECT_FALSE(fs::exists(output / example)) << example;
    }
    EXPECT_TRUE(fs::is_directory(output / "Tutorial" / "Gardener"));
    EXPECT_TRUE(fs::is_regular_file(output / "Chat" / "Chat export.txt"));
    EXPECT_TRUE(fs::is_regular_file(output / "Chat" / "Unknown" / "Unsigned note.txt"));
}

TEST(MakeExamples, ASecondRunRemovesWhatNoLongerBelongs) {
    const TTempFolder temp;
    const fs::path output = temp.Path() / "Examples";
    const std::string noTarball = (temp.Path() / "no-tarball.tgz").string();
    ASSERT_EQ(MakeExamples(output, QUILLPRINT_FEDERALIST_DIR, noTarball).ExitCode, 0);

    // A text left over from an older layout, and an example whose source is gone.
    std::ofstream(output / "Tutorial" / "Gardener" / "old draft.txt") << "stale";
    fs::create_directories(output / "Presidents" / "Unknown");
    std::ofstream(output / "Presidents" / "Unknown" / "2016.txt") << "stale";
    // A changed text is put right.
    std::ofstream(output / "Tutorial" / "Unknown" / "Letter.txt") << "edited";

    ASSERT_EQ(MakeExamples(output, QUILLPRINT_FEDERALIST_DIR, noTarball).ExitCode, 0);
    EXPECT_FALSE(fs::exists(output / "Tutorial" / "Gardener" / "old draft.txt"));
    EXPECT_FALSE(fs::exists(output / "Presidents"));
    EXPECT_EQ(fs::file_size(output / "Tutorial" / "Unknown" / "Letter.txt"),
              fs::file_size(fs::path(QUILLPRINT_TUTORIAL_SOURCES) / "Unknown" / "Letter.txt"));
}

}  // namespace
