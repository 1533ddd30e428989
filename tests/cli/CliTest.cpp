#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
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
// a phrase with each. The unknown text has 13 words and uses each scored
// phrase once, at the rate 1/13:
//   "the cat sat on the mat" (6 words), once in Émile Zola's 12 words;
//   "dog ran in the park" (5 words), once in beta's 9 words.
// The unknown text's raw score is K = 0.5 × 1/13 × (6 + 5) = 11/26; a
// candidate's ratio is 2 × (0.5 − |1/13 − 1/words|) × 1/13 × phrase words ÷ K.
// Émile Zola: 2 × (0.5 − 1/156) × 6/13 ÷ 11/26 = 14/13, in the band (1, 1.5].
const double kZolaScore = (14.0 / 13 - 1) / 10 + 0.95;
// beta: 2 × (0.5 − 4/117) × 5/13 ÷ 11/26 = 1090/1287, in the band (0.8, 1].
const double kBetaScore = (1090.0 / 1287 - 0.8) / 10 + 0.8;

// A score as the summary writes it: 15 significant digits.
std::string SummaryNumber(double score) {
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", score);
    return text;
}

// A score as the tables write it: a whole percentage.
std::string Percent(double score) { return std::to_string(std::lround(score * 100)) + "%"; }

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
              "Émile Zola\t" + Percent(kZolaScore) + "\tMost likely\t12\n" +
              "beta\t" + Percent(kBetaScore) + "\tMost likely\t9\n" +
              "Unknown\tThe same as Unknown text\tThe same as Unknown text\t13\n");
    EXPECT_EQ(run.Err, "");
}

TEST_F(CliOnProject, PrintsTheAnalysisTable) {
    const TRun run = RunCli("--locale en_US --table analysis " + Dir());
    EXPECT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(run.Out,
              "\tbeta: " + Percent(kBetaScore) + "\tÉmile Zola: " + Percent(kZolaScore) + "\tUnknown\n" +
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
    EXPECT_EQ(outside.Err.rfind("quillprint-cli: --author 3 is out of range", 0), 0u) << outside.Err;
}

TEST_F(CliOnProject, PrintsTheSummaryWithLineFeeds) {
    EXPECT_EQ(RunCli("--locale en_US --summary " + Dir()).Out,
              "beta: " + SummaryNumber(kBetaScore) + "\nÉmile Zola: " + SummaryNumber(kZolaScore) + "\n");
}

TEST_F(CliOnProject, PrintsTheEngineStateAsJson) {
    const std::string json = RunCli("--locale en_US --json-full " + Dir()).Out;
    const std::string start = "{\"authors\":[{\"name\":\"beta\",\"words\":9,\"koef\":";
    ASSERT_EQ(json.rfind(start, 0), 0u) << json.substr(0, 80);
    // The score in full precision; the engine's extended arithmetic may
    // differ from this double in the last bit.
    size_t numberEnd = 0;
    EXPECT_DOUBLE_EQ(std::stod(json.substr(start.size()), &numberEnd), kBetaScore);
    // An author's phrases are indices into "records", which holds each
    // record's text once, in the order the search made them.
    const std::string phrases = ",\"uniqueNum\":1,\"phrases\":[5,6,7,8,9,10,11,12,17,18,19,20,21,26,33]},";
    EXPECT_EQ(json.compare(start.size() + numberEnd, phrases.size(), phrases), 0);
    EXPECT_NE(json.find("]}],\"records\":[\"cat\",\"cat sat\",\"cat sat on\",\"cat sat on the\","
                        "\"cat sat on the mat\",\"dog\","),
              std::string::npos);
    EXPECT_NE(json.find(",\"the mat\",\"the park\"],\"phrases\":[{"), std::string::npos);
    // The engine's phrase list, longest first.
    EXPECT_NE(json.find("],\"phrases\":[{\"value\":\"the cat sat on the mat\",\"words\":6,\"instances\":2,"
                        "\"counts\":[0,1,1],\"unique\":1,\"authors\":2}"),
              std::string::npos);
    EXPECT_NE(json.find("\"summary\":\"beta: " + SummaryNumber(kBetaScore) + "\\rÉmile Zola: " +
                        SummaryNumber(kZolaScore) + "\\r\",\"average\":10}\n"),
              std::string::npos);
}

TEST_F(CliOnProject, ValidationTakesTheTestTextFromTheFirstAuthor) {
    // "beta" has two lines: nothing is held back, the test text is empty.
    const TRun run = RunCli("--locale en_US --validation " + Dir());
    EXPECT_EQ(run.Exit, 0) << run.Err;
    EXPECT_NE(run.Out.find("\nUnknown\tThe same as Unknown text\tThe same as Unknown text\t0\n"), std::string::npos);
}

// Every kind of run reads the project and writes nothing into it.
TEST_F(CliOnProject, WritesNothingIntoTheProjectFolder) {
    Project.Write("beta/.hidden", "hidden");
    const auto before = testing::SnapshotFolder(Project.Path());
    for (const char* options :
         {"", "--table analysis", "--table stylometry", "--json", "--validation", "--balance", "--validation-report",
          "--balance --validation-report", "--balance --validation", "--balance --table analysis"})
        EXPECT_EQ(RunCli(std::string("--locale en_US ") + options + " " + Dir()).Exit, 0) << options;
    EXPECT_EQ(testing::SnapshotFolder(Project.Path()), before);
}

TEST(CliErrors, ProjectWithoutUnknownExitsWithTwo) {
    TTempFolder project;
    project.Write("Alpha/a.txt", "a");
    const TRun run = RunCli(Quoted(project.Path().string()));
    EXPECT_EQ(run.Exit, 2);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "Please add \"Unknown\" folder for analysis\n");
}

// Whatever the run, a text that cannot be read ends it with the reason.
TEST(CliErrors, UnreadableFileExitsWithOne) {
    TTempFolder project;
    project.Write("Unknown/u.txt", "text");
    // Reads of /proc/self/mem fail with an I/O error, even for root; the
    // link leads out of the project, so it is read only on request.
    fs::create_symlink("/proc/self/mem", project.MakeFolder("Alpha") / "a.txt");
    for (const char* options : {"", "--table analysis", "--balance", "--validation", "--validation-report"}) {
        const TRun run = RunCli(std::string(options) + " --follow-links " + Quoted(project.Path().string()));
        EXPECT_EQ(run.Exit, 1) << options;
        EXPECT_EQ(run.Out, "") << options;
        EXPECT_EQ(run.Err,
                  "Cannot open file \"" + (project.Path() / "Alpha/a.txt").string() + "\". Input/output error\n")
            << options;
    }
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
    const struct {
        const char* Arguments;
        const char* Reason;  // part of the message before the pointer to --help
    } bad[] = {
        {"", "PROJECT_DIR"},
        {"--table nothing x", "--table"},
        {"--author -1 x", "--author"},
        {"--author", "--author"},
        {"--bogus x", "--bogus"},
        {"a b", "only one PROJECT_DIR"},
        {"--validation --validation-report x", "cannot be combined"},
        {"''", "PROJECT_DIR is empty"},
    };
    for (const auto& arguments : bad) {
        const TRun run = RunCli(arguments.Arguments);
        EXPECT_EQ(run.Exit, 2) << arguments.Arguments;
        EXPECT_EQ(run.Out, "") << arguments.Arguments;
        EXPECT_EQ(run.Err.rfind("quillprint-cli: ", 0), 0u) << run.Err;
        EXPECT_NE(run.Err.find(arguments.Reason), std::string::npos) << run.Err;
        EXPECT_NE(run.Err.find("--help"), std::string::npos) << arguments.Arguments;
    }
    const TRun help = RunCli("--help");
    EXPECT_EQ(help.Exit, 0);
    for (const char* option : {"--locale", "--validation", "--validation-report", "--balance", "--table", "--author",
                               "--summary", "--json", "PROJECT_DIR"})
        EXPECT_NE(help.Out.find(option), std::string::npos) << option;
}

}  // namespace
}  // namespace quillprint
