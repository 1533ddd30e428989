// quillprint-cli --cross-validate and --confidence on the tutorial project.
#include <gtest/gtest.h>

#include "CliRun.h"
#include "TempProject.h"

namespace quillprint::testing {
namespace {

const std::string kProject = Quoted(QUILLPRINT_TUTORIAL_DIR);

TEST(CliCrossValidation, JsonHasEveryCheckAndIsTheSameForAnyJobsAndTheSameSeed) {
    const TRun one = RunCli("--locale en_US --cross-validate --json --jobs 1 --seed 5 " + kProject);
    ASSERT_EQ(one.Exit, 0) << one.Err;
    for (const char* key : {"{\"seed\":5,\"excerpt\":", "\"checks\":[{\"text\":", "\"truth\":", "\"top\":",
                            "\"runnerUp\":", "\"margin\":", "\"right\":", "\"accuracy\":",
                            "\"candidates\":[{\"name\":\"Captain\"", "\"recall\":", "\"precision\":"})
        EXPECT_NE(one.Out.find(key), std::string::npos) << key << "\n" << one.Out;
    // Three candidates with two texts each: six checks.
    size_t checks = 0;
    for (size_t at = one.Out.find("\"truth\":"); at != std::string::npos; at = one.Out.find("\"truth\":", at + 1))
        ++checks;
    EXPECT_EQ(checks, 6u);
    EXPECT_EQ(RunCli("--locale en_US --cross-validate --json --jobs 3 --seed 5 " + kProject).Out, one.Out);
}

TEST(CliCrossValidation, TablesNameTheSeedTheExcerptAndEveryCheck) {
    const TRun run = RunCli("--locale en_US --cross-validate --excerpt 0 " + kProject);
    ASSERT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(run.Out.rfind("Seed\t1\nExcerpt\twhole texts\nChecks\t6\nAccuracy\t", 0), 0u) << run.Out;
    EXPECT_NE(run.Out.find("\nCandidate\tChecks\tRecall\tPrecision\tCosine Delta recall\n"), std::string::npos);
    EXPECT_NE(run.Out.find("\nText\tAuthor\tWords\tRanked first\tRunner-up\tMargin\tRight\tCosine Delta\n"),
              std::string::npos);
}

TEST(CliCrossValidation, ConfidenceLeavesTheResultTableAsItIsAndAddsTheVerdict) {
    const TRun plain = RunCli("--locale en_US " + kProject);
    const TRun judged = RunCli("--locale en_US --confidence " + kProject);
    ASSERT_EQ(judged.Exit, 0) << judged.Err;
    ASSERT_EQ(judged.Out.rfind(plain.Out + "\nChance\tChance that ", 0), 0u) << judged.Out;
    EXPECT_NE(judged.Out.find("\nVerdict\t"), std::string::npos);
    // Every check had a larger lead than the answer has: nothing can be told.
    EXPECT_NE(judged.Out.find(" is right: at most "), std::string::npos) << judged.Out;
    EXPECT_NE(judged.Out.find("\nVerdict\tCannot tell: "), std::string::npos) << judged.Out;
    EXPECT_NE(judged.Out.find("\nSecond opinion\tCosine Delta: "), std::string::npos) << judged.Out;
    // The tutorial's texts are short: each is named.
    EXPECT_NE(judged.Err.find("The disputed text has 64 words"), std::string::npos) << judged.Err;
    EXPECT_NE(judged.Err.find("Captain's samples have 117 words"), std::string::npos);

    const TRun json = RunCli("--locale en_US --confidence --json " + kProject);
    EXPECT_NE(json.Out.find(",\"confidence\":{\"top\":"), std::string::npos) << json.Out;
    EXPECT_NE(json.Out.find("\"verdict\":\"Cannot tell\""), std::string::npos);
    EXPECT_NE(json.Out.find(",\"warnings\":[\"The disputed text has "), std::string::npos);
    EXPECT_NE(json.Out.find(",\"secondOpinion\":\"Cosine Delta: "), std::string::npos);

    const TRun each = RunCli("--locale en_US --confidence --each " + kProject);
    ASSERT_EQ(each.Exit, 0) << each.Err;
    const std::string header = each.Out.substr(0, each.Out.find('\n'));
    EXPECT_EQ(header.substr(header.size() - 15), "\tChance\tVerdict") << header;
    EXPECT_NE(each.Err.find(": The disputed text has "), std::string::npos) << each.Err;
    const TRun eachJson = RunCli("--locale en_US --confidence --each --json " + kProject);
    EXPECT_NE(eachJson.Out.find(",\"confidence\":{\"top\":"), std::string::npos) << eachJson.Out;
    EXPECT_NE(eachJson.Out.find(",\"warnings\":[\"The disputed text has "), std::string::npos);
}

// With one candidate every check ranks it first: no share of right answers
// and no chance can be told from such checks.
TEST(CliCrossValidation, ASingleCandidateCannotTell) {
    TTempFolder project;
    for (const char* text : {"A/t1.txt", "A/t2.txt"}) {
        std::string lines;
        for (int l = 0; l < 30; ++l)
            lines += "the quick brown fox jumps over line " + std::to_string(l) + " of " + text + "\n";
        project.Write(text, lines);
    }
    project.Write("Unknown/u.txt", "the quick brown fox jumps over line 3\n");
    const std::string dir = Quoted(project.Path().string());
    const std::string cannotTell = "Cannot tell: with a single candidate every check ranks it first";

    const TRun tables = RunCli("--locale en_US --cross-validate " + dir);
    ASSERT_EQ(tables.Exit, 0) << tables.Err;
    EXPECT_NE(tables.Out.find("\nAccuracy\t" + cannotTell + "\nCosine Delta\t" + cannotTell + "\n"), std::string::npos)
        << tables.Out;
    EXPECT_NE(tables.Out.find("\nA\t2\t\u2014\t\u2014\t\u2014\n"), std::string::npos) << tables.Out;
    EXPECT_EQ(tables.Out.find("100%"), std::string::npos) << tables.Out;

    const TRun json = RunCli("--locale en_US --cross-validate --json " + dir);
    ASSERT_EQ(json.Exit, 0) << json.Err;
    EXPECT_NE(json.Out.find("\"accuracy\":null,\"candidates\":[{\"name\":\"A\",\"recall\":null,\"precision\":null,"),
              std::string::npos)
        << json.Out;
    EXPECT_NE(json.Out.find("\"deltaAccuracy\":null}"), std::string::npos) << json.Out;

    const TRun judged = RunCli("--locale en_US --confidence " + dir);
    ASSERT_EQ(judged.Exit, 0) << judged.Err;
    EXPECT_NE(judged.Out.find("\nChance\tChance that A is right: cannot tell, with a single candidate every check "
                              "ranks it first\nVerdict\tCannot tell: A\n"),
              std::string::npos)
        << judged.Out;
    const TRun judgedJson = RunCli("--locale en_US --confidence --json " + dir);
    EXPECT_NE(
        judgedJson.Out.find("\"confidence\":{\"top\":\"A\",\"chance\":null,\"low\":null,\"high\":null,\"checks\":0,"),
        std::string::npos)
        << judgedJson.Out;
}

TEST(CliCrossValidation, RefusesWhatItCannotBeCombinedWith) {
    struct TCase {
        const char* Arguments;
        const char* Message;
    } cases[] = {
        {"--cross-validate --each", "--cross-validate and --each cannot be combined"},
        {"--cross-validate --confidence", "--cross-validate and --confidence cannot be combined"},
        {"--confidence --validation-report", "--confidence and --validation-report cannot be combined"},
        {"--cross-validate --table analysis", "--cross-validate and --table cannot be combined"},
        {"--excerpt 100", "--excerpt needs --cross-validate or --confidence"},
        {"--cross-validate --threshold 50", "--threshold needs --confidence"},
        {"--confidence --threshold 0", "--threshold needs a percentage from 1 to 100"},
        {"--cross-validate --excerpt -3", "--excerpt needs a number of words from 0"},
        {"--cross-validate --seed x", "--seed needs a whole number from 0"},
    };
    for (const TCase& c : cases) {
        const TRun run = RunCli(std::string("--locale en_US ") + c.Arguments + " " + kProject);
        EXPECT_EQ(run.Exit, 2) << c.Arguments;
        EXPECT_NE(run.Err.find(c.Message), std::string::npos) << c.Arguments << ": " << run.Err;
        EXPECT_TRUE(run.Out.empty()) << c.Arguments;
    }
}

}  // namespace
}  // namespace quillprint::testing
