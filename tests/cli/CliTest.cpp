#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CliRun.h"
#include "TempProject.h"

namespace quillprint {
namespace {

namespace fs = std::filesystem;
using testing::TTempFolder;

using testing::Quoted;
using testing::RunCli;
using testing::Slurp;
using testing::TRun;

// Two candidates (one with a non-ASCII name) and an unknown text that shares
// a phrase with each.
class CliOnProject : public ::testing::Test {
protected:
    void SetUp() override {
        Project.Write("Unknown/u.txt", "the cat sat on the mat\nand the dog ran in the park\n");
        Project.Write("Émile Zola/a.txt", "the cat sat on the mat today\nyesterday the cat sat still\n");
        Project.Write("beta/b.txt", "a dog ran in the park\r\nthe bird sang\r\n");
    }
    std::string Dir() const { return Quoted(Project.Path().string()); }
    TTempFolder Project;
};

TEST_F(CliOnProject, PrintsTheResultTable) {
    const TRun run = RunCli("--locale en_US " + Dir());
    EXPECT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(run.Out,
              "Author\tProbability\tDescription\tWords\n"
              "Émile Zola\t96%\tMost likely\t12\n"
              "beta\t80%\tMost likely\t9\n"
              "Unknown\tThe same as Unknown text\tThe same as Unknown text\t13\n");
    EXPECT_EQ(run.Err, "");
}

TEST_F(CliOnProject, PrintsTheAnalysisTable) {
    const TRun run = RunCli("--locale en_US --table analysis " + Dir());
    EXPECT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(run.Out,
              "\tbeta: 80%\tÉmile Zola: 96%\tUnknown\n"
              "the cat sat on the mat\t0\t1\t1\n"
              "dog ran in the park\t1\t0\t1\n");
}

TEST_F(CliOnProject, PrintsTheStylometryRowsOfTheChosenAuthor) {
    EXPECT_EQ(RunCli("--locale en_US --table stylometry " + Dir()).Out,
              "Phrase\tCount\tOther Authors use\n"
              "dog ran in the park\t1\t1\n"
              "the\t2\t2\n");
    EXPECT_EQ(RunCli("--locale en_US --table stylometry --author 2 " + Dir()).Out,
              "Phrase\tCount\tOther Authors use\n"
              "the cat sat on the mat\t1\t1\n"
              "dog ran in the park\t1\t1\n"
              "the\t4\t2\n");
    const TRun outside = RunCli("--locale en_US --table stylometry --author 3 " + Dir());
    EXPECT_EQ(outside.Exit, 2);
    EXPECT_EQ(outside.Out, "");
    EXPECT_NE(outside.Err.find("--author 3"), std::string::npos);
}

TEST_F(CliOnProject, PrintsTheSummaryWithLineFeeds) {
    EXPECT_EQ(RunCli("--locale en_US --summary " + Dir()).Out,
              "beta: 0.804693084693085\nÉmile Zola: 0.957692307692308\n");
}

TEST_F(CliOnProject, PrintsTheEngineStateAsJson) {
    const std::string json = RunCli("--locale en_US --json " + Dir()).Out;
    EXPECT_EQ(json.rfind("{\"authors\":[{\"name\":\"beta\",\"words\":9,\"koef\":0.80469308469308465,"
                         "\"uniqueNum\":1,\"phrases\":[\"dog\",",
                         0),
              0u);
    // The engine's phrase list, longest first.
    EXPECT_NE(json.find("],\"phrases\":[{\"value\":\"the cat sat on the mat\",\"words\":6,\"instances\":2,"
                        "\"counts\":[0,1,1],\"unique\":1,\"authors\":2}"),
              std::string::npos);
    EXPECT_NE(json.find("\"summary\":\"beta: 0.804693084693085\\rÉmile Zola: 0.957692307692308\\r\","
                        "\"average\":10}\n"),
              std::string::npos);
}

TEST_F(CliOnProject, ValidationTakesTheTestTextFromTheFirstAuthor) {
    // "beta" has two lines: nothing is held back, the test text is empty.
    const TRun run = RunCli("--locale en_US --validation " + Dir());
    EXPECT_EQ(run.Exit, 0) << run.Err;
    EXPECT_NE(run.Out.find("\nUnknown\tThe same as Unknown text\tThe same as Unknown text\t0\n"), std::string::npos);
}

TEST_F(CliOnProject, WritesNothingIntoTheProjectFolder) {
    Project.Write("beta/.hidden", "hidden");
    const auto before = testing::SnapshotFolder(Project.Path());
    for (const char* options : {"", "--table analysis", "--table stylometry", "--json", "--validation"})
        EXPECT_EQ(RunCli(std::string("--locale en_US ") + options + " " + Dir()).Exit, 0) << options;
    EXPECT_EQ(testing::SnapshotFolder(Project.Path()), before);
}

TEST(CliErrors, ProjectWithoutUnknownExitsWithTwo) {
    TTempFolder project;
    project.Write("Alpha/a.txt", "a");
    for (const std::string& dir : {project.Path().string(), (project.Path() / "missing").string()}) {
        const TRun run = RunCli(Quoted(dir));
        EXPECT_EQ(run.Exit, 2);
        EXPECT_EQ(run.Out, "");
        EXPECT_EQ(run.Err, "Please add \"Unknown\" folder for analysis\n");
    }
}

TEST(CliErrors, UnreadableFileExitsWithOne) {
    TTempFolder project;
    project.Write("Unknown/u.txt", "text");
    // Reads of /proc/self/mem fail with an I/O error, even for root.
    fs::create_symlink("/proc/self/mem", project.MakeFolder("Alpha") / "a.txt");
    const TRun run = RunCli(Quoted(project.Path().string()));
    EXPECT_EQ(run.Exit, 1);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "Cannot open file \"" + (project.Path() / "Alpha/a.txt").string() + "\". Input/output error\n");
}

TEST(CliErrors, EmptyUnknownStillRuns) {
    TTempFolder project;
    project.MakeFolder("unknown");
    project.Write("Alpha/a.txt", "some words here");
    const TRun run = RunCli("--locale en_US " + Quoted(project.Path().string()));
    EXPECT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(run.Out,
              "Author\tProbability\tDescription\tWords\n"
              "Alpha\t0%\tHardly\t3\n"
              "Unknown\tThe same as Unknown text\tThe same as Unknown text\t0\n");
}

TEST(CliErrors, BadArgumentsExitWithTwoAndHelpExplainsEveryOption) {
    for (const char* arguments : {"", "--table nothing x", "--author -1 x", "--author", "--bogus x", "a b"}) {
        const TRun run = RunCli(arguments);
        EXPECT_EQ(run.Exit, 2) << arguments;
        EXPECT_NE(run.Err.find("--help"), std::string::npos) << arguments;
    }
    const TRun help = RunCli("--help");
    EXPECT_EQ(help.Exit, 0);
    for (const char* option : {"--locale", "--validation", "--table", "--author", "--summary", "--json", "PROJECT_DIR"})
        EXPECT_NE(help.Out.find(option), std::string::npos) << option;
}

}  // namespace
}  // namespace quillprint
