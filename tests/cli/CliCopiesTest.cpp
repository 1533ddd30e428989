// quillprint-cli with --copies, --without-copies and --copy-words, and the
// refusal of a calculation with a long copy.
#include <gtest/gtest.h>

#include <string>

#include "CliRun.h"
#include "TempProject.h"

namespace quillprint {
namespace {

using testing::Quoted;
using testing::RunCli;
using testing::TRun;

// Words `from` to `from + count - 1` of a vocabulary that never repeats,
// ten to a line.
std::string Words(const std::string& prefix, int32_t from, int32_t count) {
    std::string text;
    for (int32_t i = 0; i < count; ++i) {
        text += prefix + std::to_string(from + i);
        text += (i % 10 == 9 || i + 1 == count) ? "\n" : " ";
    }
    return text;
}

// Hamilton's text holds 60 words of the unknown text, Madison's 5,000.
class CliCopies : public ::testing::Test {
protected:
    void SetUp() override {
        Project.Write("Hamilton/h.txt", Words("h", 0, 200));
        Project.Write("Madison/m.txt", Words("m", 0, 6000));
        Project.Write("Unknown/u.txt",
                      Words("u", 0, 30) + Words("h", 40, 60) + Words("v", 0, 20) + Words("m", 100, 5000) + "last\n");
    }
    TRun Run(const std::string& options) const {
        return RunCli("--locale en_US " + options + " " + Quoted(Project.Path().string()));
    }
    testing::TTempFolder Project;
};

TEST_F(CliCopies, ListsThePassagesAsTsv) {
    const TRun run = Run("--copies");
    EXPECT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(run.Out,
              "Candidate\tCandidate text\tLine\tUnknown text\tLine\tWords\tFirst words\n"
              "Hamilton\th.txt\t5\tu.txt\t4\t60\th40 h41 h42 h43 h44 h45 h46 h47 …\n"
              "Madison\tm.txt\t11\tu.txt\t12\t5000\tm100 m101 m102 m103 m104 m105 m106 m107 …\n");
    EXPECT_EQ(Run("--copies --copy-words 61").Out,
              "Candidate\tCandidate text\tLine\tUnknown text\tLine\tWords\tFirst words\n"
              "Madison\tm.txt\t11\tu.txt\t12\t5000\tm100 m101 m102 m103 m104 m105 m106 m107 …\n");
}

TEST_F(CliCopies, RefusesTheLongCopyAndNamesItsPlaceAndTheOption) {
    const TRun run = Run("");
    EXPECT_EQ(run.Exit, 1);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err,
              "The text \"Unknown\" and the texts of \"Madison\" share a passage of 5,000 words (line 12 of "
              "\"u.txt\" in \"Unknown\"; line 11 of \"m.txt\" in \"Madison\"). Such a long copy cannot be "
              "compared phrase by phrase; remove it and calculate again. Or turn on \"Leave out copied "
              "passages\" (--without-copies), which leaves it out of the unknown text.\n");
}

TEST_F(CliCopies, CalculatesWithoutTheCopiesAndSaysHowManyWordsWereLeftOut) {
    const TRun run = Run("--without-copies");
    EXPECT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(run.Out,
              "Author\tProbability\tDescription\tWords\n"
              "Hamilton\t0%\tHardly\t200  !Too far from average(3100)\n"
              "Madison\t0%\tHardly\t6000\n"
              "Unknown\tThe same as Unknown text\tThe same as Unknown text\t51  (5060 words of copied passages "
              "left out)\n");
}

}  // namespace
}  // namespace quillprint
