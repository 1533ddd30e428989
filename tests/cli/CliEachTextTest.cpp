// quillprint-cli --each: one row per disputed text, the same whatever the
// number of threads, and shards that merge back into the whole table.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "CliRun.h"
#include "TempProject.h"

namespace quillprint {
namespace {

namespace fs = std::filesystem;
using testing::Quoted;
using testing::RunCli;
using testing::RunCliEnUs;
using testing::Slurp;
using testing::TRun;
using testing::TTempFolder;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> Cells(const std::string& line) {
    std::vector<std::string> cells;
    std::istringstream stream(line);
    for (std::string cell; std::getline(stream, cell, '\t');) cells.push_back(cell);
    return cells;
}

TEST(CliEachText, TheOneTextOfTheTutorialGetsTheRowOfItsResultsTable) {
    // The plain results table, as the golden file holds it.
    const std::vector<std::string> result = Lines(Slurp(fs::path(QUILLPRINT_GOLDEN_DIR) / "tutorial-result.tsv"));
    ASSERT_EQ(result.size(), 5u);
    const auto first = Cells(result[1]), second = Cells(result[2]), unknown = Cells(result[4]);
    const int margin = std::stoi(first[1]) - std::stoi(second[1]);

    const TRun run = RunCliEnUs("--each " + Quoted(QUILLPRINT_TUTORIAL_DIR));
    ASSERT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(run.Out, "No.\tText\tWords\tMost likely\tProbability\tDescription\tRunner-up\tProbability\tMargin\n"
                       "1\tLetter.txt\t" + unknown[3] + "\t" + first[0] + "\t" + first[1] + "\t" + first[2] + "\t" +
                           second[0] + "\t" + second[1] + "\t" + std::to_string(margin) + "%\n");
}

// Three candidates and seven disputed texts, the fourth unreadable.
class CliEachTextProject : public ::testing::Test {
protected:
    void SetUp() override {
        const char* const styles[] = {"upon the whole we are told", "it is of great moment to a free people",
                                      "most assuredly in the fullness of time"};
        for (int a = 0; a < 3; ++a) {
            std::string text;
            for (int l = 0; l < 40; ++l) text += std::string(styles[a]) + " w" + std::to_string(l % 7) + " z\n";
            Project.Write("Author " + std::to_string(a) + "/t.txt", text);
        }
        for (int t = 0; t < 7; ++t) {
            const std::string name = "Unknown/text " + std::to_string(t) + ".txt";
            if (t == 3) {
                // Reads of /proc/self/mem fail with an I/O error, even for root.
                fs::create_directories(Project.Path() / "Unknown");
                fs::create_symlink("/proc/self/mem", Project.Path() / name);
                continue;
            }
            std::string text;
            for (int l = 0; l < 3 + t; ++l) text += std::string(styles[t % 3]) + " u" + std::to_string(l) + "\n";
            Project.Write(name, text);
        }
    }
    // The unreadable text is a link out of the project, read only on request.
    std::string Dir() const { return "--follow-links " + Quoted(Project.Path().string()); }
    TTempFolder Project;
};

TEST_F(CliEachTextProject, RowsComeInTextOrderWhateverTheNumberOfJobs) {
    const TRun one = RunCliEnUs("--each --jobs 1 " + Dir());
    EXPECT_EQ(one.Exit, 1);  // one text could not be read
    const std::vector<std::string> lines = Lines(one.Out);
    ASSERT_EQ(lines.size(), 8u) << one.Out;
    for (int t = 0; t < 7; ++t) {
        const auto cells = Cells(lines[static_cast<size_t>(t) + 1]);
        EXPECT_EQ(cells[0], std::to_string(t + 1));
        EXPECT_EQ(cells[1], "text " + std::to_string(t) + ".txt");
        if (t == 3)
            EXPECT_EQ(cells[3].rfind("Cannot open file \"", 0), 0u) << cells[3];
        else
            EXPECT_EQ(cells[3], "Author " + std::to_string(t % 3)) << lines[static_cast<size_t>(t) + 1];
    }
    EXPECT_EQ(RunCliEnUs("--each --jobs 3 " + Dir()).Out, one.Out);
    EXPECT_EQ(RunCliEnUs("--each " + Dir()).Out, one.Out);

    const TRun json = RunCliEnUs("--each --json --jobs 3 " + Dir());
    EXPECT_EQ(json.Exit, 1);
    const std::vector<std::string> objects = Lines(json.Out);
    ASSERT_EQ(objects.size(), 7u);
    for (int t = 0; t < 7; ++t)
        EXPECT_EQ(objects[static_cast<size_t>(t)].rfind("{\"no\":" + std::to_string(t + 1) + ",\"text\":", 0), 0u);
    EXPECT_NE(objects[3].find(",\"error\":\"Cannot open file"), std::string::npos) << objects[3];
    EXPECT_NE(objects[0].find("\"uniqueNum\":"), std::string::npos) << objects[0];
}

TEST_F(CliEachTextProject, ShardsMergeIntoTheWholeTable) {
    const std::string whole = RunCliEnUs("--each --balance " + Dir()).Out;
    std::vector<std::string> merged;
    for (int k = 1; k <= 3; ++k) {
        const TRun shard = RunCliEnUs("--each --balance --shard " + std::to_string(k) + "/3" +
                                      (k == 1 ? " " : " --no-header ") + Dir());
        for (const std::string& line : Lines(shard.Out)) merged.push_back(line);
    }
    // The header first, then the rows by their number.
    std::stable_sort(merged.begin() + 1, merged.end(), [](const std::string& left, const std::string& right) {
        return std::stoi(left) < std::stoi(right);
    });
    EXPECT_EQ(merged, Lines(whole));
}

TEST_F(CliEachTextProject, NothingIsWrittenIntoTheProject) {
    const auto before = testing::SnapshotFolder(Project.Path());
    RunCliEnUs("--each --balance --jobs 2 " + Dir());
    EXPECT_EQ(testing::SnapshotFolder(Project.Path()), before);
}

}  // namespace
}  // namespace quillprint
