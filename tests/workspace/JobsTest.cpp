// The number of threads never changes a result: a plain run, a balanced run
// and the validation report give the same tables on one thread and on three.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeViews.h"
#include "TempProject.h"
#include "workspace/RunRequest.h"
#include "workspace/SplitMix64.h"
#include "workspace/Workspace.h"

namespace quillprint {
namespace {

using testing::TTempFolder;
using TCells = std::vector<std::vector<std::u16string>>;

TCells CellsOf(const TGrid& grid) {
    TCells cells(static_cast<size_t>(grid.RowCount()));
    for (int32_t row = 0; row < grid.RowCount(); ++row)
        for (int32_t col = 0; col < grid.ColCount(); ++col) cells[static_cast<size_t>(row)].push_back(grid.Cell(col, row));
    return cells;
}

// Lines of a writer: words from a small vocabulary (so that phrases of many
// lengths repeat) and now and then a passage from the common stock, which
// every writer and the unknown text share.
std::string Writing(uint64_t seed, int lines) {
    static const std::vector<std::string> vocabulary = {"the", "people", "state", "of", "power", "a",
                                                        "general", "union", "is", "be", "must", "it"};
    static const std::vector<std::string> stock = {"it is said that the union must be", "as a rule of the state",
                                                   "for the present it may be added"};
    TSplitMix64 random(seed);
    std::string text;
    for (int l = 0; l < lines; ++l) {
        for (int w = 0; w < 10; ++w) {
            text += random.Below(8) == 0 ? stock[random.Below(stock.size())]
                                         : vocabulary[random.Below(vocabulary.size())] + std::to_string(random.Below(6));
            text += ' ';
        }
        text += "\r\n";
    }
    return text;
}

struct TTables {
    TCells Result;
    TCells Analysis;
    TCells Validation;
};

// Writers of different sizes, so a balanced run cuts the longer ones and
// its draws differ.
void WriteProject(const TTempFolder& project) {
    const std::vector<std::pair<std::string, int>> writers = {
        {"Adams", 400}, {"Baker", 150}, {"Clark", 250}, {"Drew", 90}, {"Ellis", 60}};
    uint64_t seed = 11;
    for (const auto& [name, lines] : writers) {
        project.Write(name + "/first.txt", Writing(seed++, lines / 2));
        project.Write(name + "/second.txt", Writing(seed++, lines - lines / 2));
    }
    project.Write("Unknown/letter.txt", Writing(seed, 80));
}

class Jobs : public ::testing::Test, protected testing::TWorkspaceFixture {
protected:
    TTables Tables(unsigned jobs, bool balance) {
        TWorkspace workspace(u"/opt/quillprint/", "en_US", View, Messages, Observer);
        workspace.SetJobs(jobs);
        workspace.LoadProject(Project.Dir());
        workspace.SetBalance(balance);
        TTables tables;
        workspace.Calculate();
        tables.Result = CellsOf(workspace.Results().ResultTable());
        tables.Analysis = CellsOf(workspace.Results().AnalysisTable());
        workspace.Validate();
        EXPECT_TRUE(workspace.Results().ValidationTable().has_value());
        if (workspace.Results().ValidationTable()) tables.Validation = CellsOf(*workspace.Results().ValidationTable());
        return tables;
    }

    TTempFolder Project;
};

TEST_F(Jobs, OneThreadAndThreeGiveTheSameTables) {
    WriteProject(Project);
    for (const bool balance : {false, true}) {
        SCOPED_TRACE(balance ? "balanced" : "plain");
        const TTables one = Tables(1, balance);
        const TTables three = Tables(3, balance);
        // Enough phrases that their order shows, and a report of every writer.
        ASSERT_GT(one.Analysis.size(), 100u);
        ASSERT_EQ(one.Validation.size(), 7u);
        EXPECT_EQ(three.Result, one.Result);
        EXPECT_EQ(three.Analysis, one.Analysis);
        EXPECT_EQ(three.Validation, one.Validation);
    }
}

// The texts are read side by side, a few at a time: the candidates' lines,
// text boundaries, the test text and the progress are those of reading one
// after another, and of two unreadable files the first one's error is met.
TEST(ReadingTexts, SideBySideAsOneAfterAnother) {
    const auto inMemory = [](const char16_t* label, TLines lines) { return TTextSource{label, u"", std::move(lines)}; };
    TRunRequest request;
    request.Authors = {
        {u"Alpha", {inMemory(u"a1", {u"one", u"two"}), inMemory(u"a2", {u"three"}), inMemory(u"a3", {})}},
        {u"Unknown", {inMemory(u"u1", {u"four"}), inMemory(u"u2", {u"five six"})}},
        {u"Beta", {inMemory(u"b1", {u"seven"}), inMemory(u"b2", {u"eight", u"nine"})}},
        {u"Gamma", {inMemory(u"g1", {u"ten"})}},
    };
    for (const unsigned jobs : {1u, 2u, 3u}) {
        request.Jobs = jobs;
        std::u16string test;
        std::vector<int32_t> done;
        const std::vector<TCandidateLines> candidates =
            ReadCandidates(request, &test, [&](int32_t count, int32_t total) {
                EXPECT_EQ(total, 8);
                done.push_back(count);
            });
        EXPECT_EQ(done, (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 8})) << jobs;
        EXPECT_EQ(test, u"four\r\nfive six\r\n") << jobs;
        ASSERT_EQ(candidates.size(), 3u) << jobs;
        EXPECT_EQ(candidates[0].Lines, (TLines{u"one", u"two", u"three"})) << jobs;
        EXPECT_EQ(candidates[0].TextStarts, (std::vector<size_t>{0, 2, 3})) << jobs;
        EXPECT_EQ(candidates[0].TextLabels, (std::vector<std::u16string>{u"a1", u"a2", u"a3"})) << jobs;
        EXPECT_EQ(candidates[1].Lines, (TLines{u"seven", u"eight", u"nine"})) << jobs;
        EXPECT_EQ(candidates[1].TextStarts, (std::vector<size_t>{0, 1})) << jobs;
        EXPECT_EQ(candidates[2].Name, u"Gamma") << jobs;
        EXPECT_EQ(ReadCandidates(request, nullptr).size(), 3u) << jobs;
    }

    TTempFolder folder;
    request.Authors[2].Texts[0] = {u"b1", folder.Dir() + u"missing-first.txt", std::nullopt};
    request.Authors[2].Texts[1] = {u"b2", folder.Dir() + u"missing-second.txt", std::nullopt};
    for (const unsigned jobs : {1u, 2u, 3u}) {
        request.Jobs = jobs;
        std::u16string test;
        try {
            ReadCandidates(request, &test);
            ADD_FAILURE() << "read without an error, jobs " << jobs;
        } catch (const TFileReadError& error) {
            EXPECT_NE(std::string(error.what()).find("missing-first.txt"), std::string::npos) << error.what();
        }
    }
}

}  // namespace
}  // namespace quillprint
