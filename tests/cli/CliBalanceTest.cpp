// quillprint-cli with --balance and --validation-report, and the plain
// calculation held to golden files written before those options existed.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "CliRun.h"
#include "TempProject.h"

namespace quillprint {
namespace {

namespace fs = std::filesystem;
using testing::TTempFolder;

using testing::Quoted;
using testing::RunCli;
using testing::RunCliEnUs;
using testing::Slurp;
using testing::TRun;

// Every run here pins the collation locale.
// How each golden file was made and checked: golden/README.md.
struct TGoldenCase {
    const char* Name;
    const char* Options;
    const char* File;
};

class PlainCalculation : public ::testing::TestWithParam<TGoldenCase> {};

TEST_P(PlainCalculation, IsUnchangedByteForByte) {
    const TRun run = RunCliEnUs(std::string(GetParam().Options) + " " + Quoted(QUILLPRINT_TUTORIAL_DIR));
    EXPECT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(run.Out, Slurp(fs::path(QUILLPRINT_GOLDEN_DIR) / GetParam().File));
}

INSTANTIATE_TEST_SUITE_P(TutorialExample, PlainCalculation,
                         ::testing::Values(
                             TGoldenCase{"ResultTable", "", "tutorial-result.tsv"},
                             TGoldenCase{"AnalysisTable", "--table analysis", "tutorial-analysis.tsv"},
                             TGoldenCase{"StylometryOfTheFirstCandidate", "--table stylometry",
                                         "tutorial-stylometry-0.tsv"},
                             TGoldenCase{"StylometryOfUnknown", "--table stylometry --author 3",
                                         "tutorial-stylometry-3.tsv"},
                             TGoldenCase{"Summary", "--summary", "tutorial-summary.txt"},
                             TGoldenCase{"EngineStateAsFullJson", "--json-full", "tutorial-engine.json"},
                             TGoldenCase{"ValidationRunOfTheLoadedTree", "--validation", "tutorial-validation.tsv"}),
                         [](const auto& info) { return std::string(info.param.Name); });

// "Big" has 40 texts of 240 words each, far above the 5,000-word budget;
// "Small" one text of 600 words. The unknown text repeats Small's phrases.
class CliBalance : public ::testing::Test {
protected:
    void SetUp() override {
        for (int t = 0; t < 40; ++t) {
            std::string text;
            for (int l = 0; l < 20; ++l)
                text += "upon the whole we are told w" + std::to_string(t * 20 + l) + " and more x" +
                        std::to_string(l) + " y" + std::to_string(t) + " z\n";
            Project.Write("Big/" + std::to_string(100 + t) + ".txt", text);
        }
        std::string small, unknown;
        for (int l = 0; l < 60; ++l) small += "most assuredly in the fullness of time s" + std::to_string(l) + " z\n";
        for (int l = 0; l < 10; ++l) unknown += "most assuredly in the fullness of time u" + std::to_string(l) + "\n";
        Project.Write("Small/s.txt", small);
        Project.Write("Unknown/u.txt", unknown);
    }
    std::string Dir() const { return Quoted(Project.Path().string()); }
    TTempFolder Project;
};

TEST_F(CliBalance, PrintsMeanScoresAndDrawsWonTheSameOnEveryRun) {
    const TRun run = RunCliEnUs("--balance " + Dir());
    ASSERT_EQ(run.Exit, 0) << run.Err;
    std::istringstream lines(run.Out);
    std::string header, first, second, unknown;
    std::getline(lines, header);
    std::getline(lines, first);
    std::getline(lines, second);
    std::getline(lines, unknown);
    EXPECT_EQ(header, "Author\tProbability\tDescription\tWords\tDraws won");
    EXPECT_EQ(first.substr(0, first.find('\t')), "Small");
    EXPECT_EQ(first.substr(first.rfind('\t')), "\t9");
    EXPECT_EQ(second.substr(second.rfind('\t')), "\t0");
    // The first draw's sample of Big: 21 whole texts of 240 words reach the budget.
    EXPECT_NE(second.find("\t5040\t"), std::string::npos) << second;
    EXPECT_EQ(unknown.substr(unknown.rfind('\t')), "\t");
    EXPECT_EQ(RunCliEnUs("--balance " + Dir()).Out, run.Out);

    const std::string summary = RunCliEnUs("--balance --summary " + Dir()).Out;
    EXPECT_EQ(summary.rfind("Big: ", 0), 0u) << summary;
    EXPECT_NE(summary.find("\nSmall: "), std::string::npos);
}

TEST_F(CliBalance, ValidationReportPrintsOneRowPerCandidateAndTheTally) {
    const TRun run = RunCliEnUs("--validation-report " + Dir());
    ASSERT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(run.Out,
              "Author\tLines held back\tRanked first\tScore\tRank\n"
              "Big\t160\tBig\t99%\t1\n"
              "Small\t12\tSmall\t99%\t1\n"
              "2 of 2 recognised\t\t\t\t\n");
    const TRun balanced = RunCliEnUs("--validation-report --balance " + Dir());
    ASSERT_EQ(balanced.Exit, 0) << balanced.Err;
    EXPECT_NE(balanced.Out.find("\n2 of 2 recognised"), std::string::npos) << balanced.Out;
}

// 53 candidates of five lines, each with a phrase of its own: past the
// limit of 50, every second is tested, against all of them.
TEST(CliValidationReport, PastFiftyCandidatesTestsEverySecondAndSaysSo) {
    TTempFolder project;
    for (int c = 0; c < 53; ++c) {
        std::string text;
        for (int l = 0; l < 5; ++l) text += "own" + std::to_string(c) + " phrase of mine p" + std::to_string(l) + "\n";
        project.Write("C" + std::to_string(100 + c) + "/t.txt", text);
    }
    project.Write("Unknown/u.txt", "own1 phrase of mine\n");
    const std::string dir = Quoted(project.Path().string());

    const TRun sample = RunCliEnUs("--validation-report " + dir);
    ASSERT_EQ(sample.Exit, 0) << sample.Err;
    std::string expected = "Author\tLines held back\tRanked first\tScore\tRank\n";
    for (int c = 0; c < 53; c += 2)
        expected += "C" + std::to_string(100 + c) + "\t1\tC" + std::to_string(100 + c) + "\t99%\t1\n";
    expected +=
        "27 of 27 recognised\t\t\t\t\n"
        "Tested 27 of 53 candidates (every 2nd), each against all of them\t\t\t\t\n";
    EXPECT_EQ(sample.Out, expected);
    EXPECT_NE(sample.Err.find("--all-candidates tests every candidate"), std::string::npos) << sample.Err;

    const TRun all = RunCliEnUs("--validation-report --all-candidates " + dir);
    ASSERT_EQ(all.Exit, 0) << all.Err;
    EXPECT_NE(all.Out.find("\nC101\t1\tC101\t"), std::string::npos) << all.Out;
    EXPECT_NE(all.Out.find("\n53 of 53 recognised\t\t\t\t\n"), std::string::npos) << all.Out;
    EXPECT_EQ(all.Out.find("Tested"), std::string::npos) << all.Out;
    EXPECT_EQ(all.Err.find("--all-candidates"), std::string::npos) << all.Err;

    const TRun alone = RunCliEnUs("--all-candidates " + dir);
    EXPECT_EQ(alone.Exit, 2);
    EXPECT_NE(alone.Err.find("--all-candidates needs --validation-report"), std::string::npos) << alone.Err;
}

}  // namespace
}  // namespace quillprint
