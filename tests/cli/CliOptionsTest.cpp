#include <gtest/gtest.h>

#include "cli/CliOptions.h"

namespace quillprint::cli {
namespace {

TEST(ParseOptions, ReadsEveryOption) {
    std::string error;
    const auto options = ParseOptions({"--locale", "de_DE", "--validation", "--table", "stylometry", "--author", "3",
                                       "--summary", "--json", "--jobs", "2", "--split-words", "language", "project dir"},
                                      error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->LocaleName, "de_DE");
    EXPECT_TRUE(options->Validation);
    EXPECT_EQ(options->Table, TTable::Stylometry);
    EXPECT_EQ(options->Author, 3);
    EXPECT_TRUE(options->Summary);
    EXPECT_TRUE(options->Json);
    EXPECT_EQ(options->Jobs, 2u);
    EXPECT_TRUE(options->SplitByLanguage);
    EXPECT_EQ(options->ProjectDir, "project dir");
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

}  // namespace
}  // namespace quillprint::cli
