// quillprint-cli --split-words: a small Chinese project in which only "Wang"
// shares a three-word phrase with the unknown text, and the hint for a
// project written without spaces.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CliRun.h"

namespace quillprint {
namespace {

namespace fs = std::filesystem;
using testing::Quoted;
using testing::RunCli;
using testing::Slurp;
using testing::TRun;

const std::string kChinese = Quoted(QUILLPRINT_CHINESE_DIR);
const std::string kHint = "Hint: Most characters of this project are in scripts written without spaces";

// Also the example of the help document, which must show exactly this.
const std::string kChineseResult =
    "Author\tProbability\tDescription\tWords\n"
    "Wang\t99%\tMost likely\t9\n"
    "Li\t35%\tHardly\t7\n"
    "Unknown\tThe same as Unknown text\tThe same as Unknown text\t12\n";

TEST(CliSplitWords, ByLanguageRanksTheCandidateWithTheSharedPhraseFirst) {
    const TRun result = RunCli("--locale zh_CN --split-words language " + kChinese);
    EXPECT_EQ(result.Exit, 0) << result.Err;
    EXPECT_EQ(result.Out, kChineseResult);
    EXPECT_EQ(result.Err, "");

    const TRun analysis = RunCli("--locale zh_CN --split-words language --table analysis " + kChinese);
    EXPECT_NE(analysis.Out.find("去 学校 读书\t0\t1\t1\n"), std::string::npos) << analysis.Out;
}

TEST(CliSplitWords, AtSpacesEveryLineIsOneWordAndTheHintShows) {
    const TRun plain = RunCli("--locale zh_CN " + kChinese);
    EXPECT_EQ(plain.Exit, 0) << plain.Err;
    EXPECT_EQ(plain.Out,
              "Author\tProbability\tDescription\tWords\n"
              "Li\t0%\tHardly\t1\n"
              "Wang\t0%\tHardly\t1\n"
              "Unknown\tThe same as Unknown text\tThe same as Unknown text\t2\n");
    EXPECT_EQ(plain.Err.rfind(kHint, 0), 0u) << plain.Err;
    EXPECT_EQ(RunCli("--locale zh_CN --split-words spaces " + kChinese).Out, plain.Out);
    // Every way of running the project gives the hint.
    for (const char* options : {"--each", "--copies", "--validation-report --quiet"}) {
        const TRun run = RunCli("--locale zh_CN " + std::string(options) + " " + kChinese);
        EXPECT_NE(run.Err.find(kHint), std::string::npos) << options << ": " << run.Err;
    }
}

TEST(CliSplitWords, EachTextAndCopiesCountTheSplitWords) {
    const TRun each = RunCli("--locale zh_CN --split-words language --each " + kChinese);
    EXPECT_EQ(each.Exit, 0) << each.Err;
    EXPECT_NE(each.Out.find("1\t问.txt\t12\tWang\t99%"), std::string::npos) << each.Out;
    const TRun copies = RunCli("--locale zh_CN --split-words language --copies --copy-words 3 " + kChinese);
    EXPECT_EQ(copies.Out,
              "Candidate\tCandidate text\tLine\tUnknown text\tLine\tWords\tFirst words\n"
              "Wang\t王.txt\t1\t问.txt\t1\t3\t去 学校 读书\n");
}

// Text in other scripts is split as before: the tutorial gives its golden
// output with the option on too.
TEST(CliSplitWords, ByLanguageLeavesOtherScriptsAlone) {
    const TRun run = RunCli("--locale en_US --split-words language " + Quoted(QUILLPRINT_TUTORIAL_DIR));
    EXPECT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(run.Out, Slurp(fs::path(QUILLPRINT_GOLDEN_DIR) / "tutorial-result.tsv"));
    EXPECT_EQ(run.Err, "");
}

// The help's example is the program's own output, as a block indented by
// four spaces.
TEST(CliSplitWords, TheHelpShowsTheProgramsOutput) {
    std::string block = "$ quillprint-cli --locale zh_CN --split-words language chinese\n" + kChineseResult;
    for (size_t line = 0; line < block.size(); line = block.find('\n', line) + 1) block.insert(line, "    ");
    EXPECT_NE(Slurp(fs::path(QUILLPRINT_HELP_MD)).find("\n\n" + block + "\n"), std::string::npos);
}

}  // namespace
}  // namespace quillprint
