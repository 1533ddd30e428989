#include <gtest/gtest.h>

#include "cli/CliOptions.h"

namespace quillprint::cli {
namespace {

TEST(ParseOptions, ReadsEveryOption) {
    std::string error;
    const auto options = ParseOptions({"--locale", "de_DE", "--validation", "--table", "stylometry", "--author", "3",
                                       "--jobs", "2", "--split-words", "language", "--follow-links", "project dir"},
                                      error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->LocaleName, "de_DE");
    EXPECT_TRUE(options->Validation);
    EXPECT_EQ(options->Table, TTable::Stylometry);
    EXPECT_EQ(options->Author, 3);
    EXPECT_EQ(options->Jobs, 2u);
    EXPECT_TRUE(options->SplitByLanguage);
    EXPECT_TRUE(options->FollowLinks);
    EXPECT_EQ(options->ProjectDir, "project dir");
    const auto printed = ParseOptions({"--summary", "dir"}, error);
    ASSERT_TRUE(printed) << error;
    EXPECT_TRUE(printed->Summary);
    const auto json = ParseOptions({"--json-full", "dir"}, error);
    ASSERT_TRUE(json) << error;
    EXPECT_TRUE(json->Json && json->JsonFull);
}

// Options that would be ignored beside another, or that would change what
// it prints, are refused with a message naming both.
TEST(ParseOptions, RefusesEveryConflictNamingBoth) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--copies", "--json"}, "--copies and --json cannot be combined"},
        {{"--copies", "--json-full"}, "--copies and --json-full cannot be combined"},
        {{"--copies", "--balance"}, "--copies and --balance cannot be combined"},
        {{"--validation-report", "--summary"}, "--validation-report and --summary cannot be combined"},
        {{"--validation-report", "--json"}, "--validation-report and --json cannot be combined"},
        {{"--validation", "--validation-report"}, "--validation and --validation-report cannot be combined"},
        {{"--json", "--summary"}, "--json and --summary cannot be combined"},
        {{"--summary", "--table", "analysis"}, "--summary and --table cannot be combined"},
        {{"--each", "--json-full"}, "--each and --json-full cannot be combined"},
        {{"--each", "--json", "--no-header"}, "--json and --no-header cannot be combined"},
        {{"--cross-validate", "--json-full"}, "--cross-validate and --json-full cannot be combined"},
        {{"--cross-validate", "--seed", "3", "--report", "r.pdf"}, "--report and --seed cannot be combined"},
        {{"--confidence", "--threshold", "90", "--report", "r.pdf"}, "--report and --threshold cannot be combined"},
        {{"--report", "r.pdf", "--each", "--shard", "1/2"}, "--report and --shard cannot be combined"},
        {{"--read-only", "--balance"}, "--read-only and --balance cannot be combined"},
        {{"--each", "--copies"}, "--copies and --each cannot be combined"},
        {{"--author", "1"}, "--author needs --table stylometry"},
        {{"--table", "analysis", "--author", "1"}, "--author needs --table stylometry"},
        {{"--copy-words", "5"}, "--copy-words needs --copies or --without-copies"},
        {{"--shard", "1/2"}, "--shard needs --each"},
        {{"--no-header"}, "--no-header needs --each"},
        {{"--each", "--shard", "1/2", "--shard", "2/2"}, "--shard is given twice (\"1/2\" and \"2/2\")"},
        {{"--table", "analysis", "--table", "stylometry"}, "--table is given twice (\"analysis\" and \"stylometry\")"},
        {{"--locale", "de", "--locale", "fr"}, "--locale is given twice (\"de\" and \"fr\")"},
    };
    for (const auto& [arguments, message] : cases) {
        std::vector<std::string> args = arguments;
        args.push_back("dir");
        std::string error;
        EXPECT_FALSE(ParseOptions(args, error)) << message;
        EXPECT_EQ(error, message);
    }
    // What goes together still does.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--each", "--json", "--confidence", "dir"},
          {"--report", "r.pdf", "--each", "--balance", "--without-copies", "--copy-words", "9", "dir"},
          {"--report", "r.pdf", "--cross-validate", "--excerpt", "400", "dir"},
          {"--report", "r.pdf", "--confidence", "--each", "dir"},
          {"--validation", "--table", "stylometry", "--author", "2", "dir"},
          {"--copies", "--copy-words", "8", "--split-words", "language", "dir"},
          {"--each", "--shard", "2/3", "--no-header", "--balance", "dir"}}) {
        std::string error;
        EXPECT_TRUE(ParseOptions(args, error)) << error;
    }
}

TEST(ParseOptions, DefaultsAndErrors) {
    std::string error;
    const auto defaults = ParseOptions({"dir"}, error);
    ASSERT_TRUE(defaults);
    EXPECT_EQ(defaults->Table, TTable::Result);
    EXPECT_EQ(defaults->Author, 0);
    EXPECT_EQ(defaults->LocaleName, "");
    EXPECT_FALSE(defaults->Copies);
    EXPECT_FALSE(defaults->WithoutCopies);
    EXPECT_EQ(defaults->CopyWords, 50);
    EXPECT_FALSE(defaults->SplitByLanguage);
    const auto copies = ParseOptions({"--without-copies", "--copy-words", "12", "dir"}, error);
    ASSERT_TRUE(copies);
    EXPECT_TRUE(copies->WithoutCopies);
    EXPECT_EQ(copies->CopyWords, 12);

    const std::vector<std::vector<std::string>> bad = {
        {}, {"--table", "x", "dir"}, {"--author", "2x", "dir"}, {"--locale"}, {"-x", "dir"}, {"a", "b"},
        {"--each", "--shard", "0/3", "dir"}, {"--each", "--shard", "4/3", "dir"}, {"--each", "--shard", "2", "dir"},
        {"--each", "--jobs", "0", "dir"}, {"--jobs", "0", "dir"}, {"--shard", "1/2", "dir"}, {"--no-header", "dir"},
        {"--each", "--table", "analysis", "dir"}, {"--each", "--validation-report", "dir"},
        {"--copy-words", "0", "dir"}, {"--copy-words", "ten", "dir"}, {"--copies", "--without-copies", "dir"},
        {"--each", "--copies", "dir"}, {"--split-words", "words", "dir"}, {"--split-words"}};
    for (const auto& args : bad) {
        error.clear();
        EXPECT_FALSE(ParseOptions(args, error));
        EXPECT_FALSE(error.empty());
    }
}

// A number past what the option can hold is refused with the limit named.
TEST(CliOptions, RefusalsOfHugeNumbersNameTheLimit) {
    struct TCase {
        std::vector<std::string> Args;
        std::string Error;
    };
    for (const TCase& c : {
             TCase{{"--jobs", "4294967296", "dir"}, "--jobs needs a number from 1 to 4294967295, not \"4294967296\""},
             TCase{{"--jobs", "0", "dir"}, "--jobs needs a number from 1 to 4294967295, not \"0\""},
             TCase{{"--each", "--shard", "1/4294967295", "dir"},
                   "--shard needs K/N with 1 <= K <= N <= 2147483647, not \"1/4294967295\""},
             TCase{{"--each", "--shard", "3/2", "dir"},
                   "--shard needs K/N with 1 <= K <= N <= 2147483647, not \"3/2\""},
         }) {
        std::string error;
        EXPECT_FALSE(ParseOptions(c.Args, error));
        EXPECT_EQ(error, c.Error);
    }
    std::string error;
    const auto most =
        ParseOptions({"--each", "--jobs", "4294967295", "--shard", "2147483647/2147483647", "dir"}, error);
    ASSERT_TRUE(most) << error;
    EXPECT_EQ(most->Jobs, 4294967295u);
    EXPECT_EQ(most->ShardCount, 2147483647);
}

}  // namespace
}  // namespace quillprint::cli
