// "Each text": every text of "Unknown" attributed on its own must give
// exactly what a project holding that text alone in "Unknown" gives.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "FakeViews.h"
#include "SampleText.h"
#include "TempProject.h"
#include "workspace/TextsTable.h"
#include "workspace/Workspace.h"

namespace quillprint {
namespace {

namespace fs = std::filesystem;
using testing::Sample;
using testing::TTempFolder;

const std::vector<std::pair<std::string, std::string>> kCandidates = {
    {"Alpha/a1.txt", Sample(11, 60)}, {"Alpha/a2.txt", Sample(12, 40)}, {"Beta/b.txt", Sample(7, 90)},
    {"Gamma/g.txt", Sample(5, 70)}};

// The disputed texts, in the order the folder lists them: "empty.txt" has no
// words and "unreadable.txt" cannot be read.
const std::vector<std::pair<std::string, std::string>> kDisputed = {
    {"1 alpha-like.txt", Sample(11, 15)}, {"2 beta-like.txt", Sample(7, 20)}, {"3 empty.txt", ""},
    {"5 gamma-like.txt", Sample(5, 12) + Sample(12, 5)}};

void WriteCandidates(const TTempFolder& project) {
    for (const auto& [path, text] : kCandidates) project.Write(path, text);
}

class EachText : public ::testing::TestWithParam<std::tuple<bool, unsigned>>, protected testing::TWorkspaceFixture {
protected:
    TWorkspace Workspace{u"/opt/quillprint/", "en_US", View, Messages, Observer};
    TTempFolder Project;

    void SetUp() override {
        WriteCandidates(Project);
        for (const auto& [name, text] : kDisputed) Project.Write("Unknown/" + name, text);
        // Reads of /proc/self/mem fail with an I/O error, even for root.
        fs::create_symlink("/proc/self/mem", Project.Path() / "Unknown" / "4 unreadable.txt");
        // The link leads out of the project: read only on request.
        Workspace.SetFollowLinks(true);
        Workspace.LoadProject(Project.Dir());
        Workspace.SetBalance(std::get<0>(GetParam()));
        Workspace.SetJobs(std::get<1>(GetParam()));
        Workspace.SetEachText(true);
        Workspace.Calculate();
    }
};

// The same project with only `text` in "Unknown", calculated the usual way.
struct TSingleRun : testing::TWorkspaceFixture {
    TTempFolder Project;
    TWorkspace Workspace{u"/opt/quillprint/", "en_US", View, Messages, Observer};

    TSingleRun(const std::pair<std::string, std::string>& text, bool balance) {
        WriteCandidates(Project);
        Project.Write("Unknown/" + text.first, text.second);
        Workspace.LoadProject(Project.Dir());
        Workspace.SetBalance(balance);
        Workspace.Calculate();
    }
};

TEST_P(EachText, EveryRowIsTheRunOfThatTextAlone) {
    const bool balance = std::get<0>(GetParam());
    ASSERT_TRUE(Messages.Errors.empty());
    EXPECT_EQ(Observer.Pages.back(), TPage::Texts);
    const auto& outcomes = Workspace.Results().TextOutcomes();
    ASSERT_EQ(outcomes.size(), 5u);
    const TGrid& table = Workspace.Results().TextsTable();
    ASSERT_EQ(table.RowCount(), 6);

    // The unreadable text fails its own row only.
    EXPECT_EQ(outcomes[3].Label, u"4 unreadable.txt");
    EXPECT_TRUE(outcomes[3].Failed());
    EXPECT_EQ(table.Cell(kTextsMostLikelyColumn, 4).rfind(u"Cannot open file \"", 0), 0u);

    for (size_t t = 0, row = 0; t < kDisputed.size(); ++t, ++row) {
        if (row == 3) ++row;  // the unreadable text
        SCOPED_TRACE(kDisputed[t].first);
        const TTextOutcome& outcome = outcomes[row];
        const TSingleRun single(kDisputed[t], balance);
        ASSERT_FALSE(outcome.Failed());
        EXPECT_EQ(outcome.Result.Summary, single.Workspace.Results().Summary());
        // The summary holds the (mean) scores to 15 digits; plain runs are
        // compared to the last bit as well.
        if (!balance) {
            std::vector<double> scores;
            for (const TCandidateOutcome& candidate : outcome.Candidates) scores.push_back(candidate.Score);
            EXPECT_EQ(scores, CandidateScores(*single.Workspace.Results().Engine()));
        }
        EXPECT_EQ(outcome.Words, single.Workspace.Results().Engine()->Test()->WordCount());

        // The row repeats the single run's results table: its first two
        // candidates, their percentages, the verdict and the draws won.
        const TGrid& result = single.Workspace.Results().ResultTable();
        const auto r = static_cast<int32_t>(row) + 1;
        EXPECT_EQ(table.Cell(0, r), std::u16string(1, char16_t(u'1' + row)));
        EXPECT_EQ(table.Cell(1, r), outcome.Label);
        EXPECT_EQ(table.Cell(3, r), result.Cell(0, 1));
        EXPECT_EQ(table.Cell(4, r), result.Cell(1, 1));
        EXPECT_EQ(table.Cell(5, r), result.Cell(2, 1));
        EXPECT_EQ(table.Cell(6, r), result.Cell(0, 2));
        EXPECT_EQ(table.Cell(7, r), result.Cell(1, 2));
        if (balance) {
            EXPECT_EQ(table.Cell(9, r), result.Cell(kDrawsWonColumn, 1));
        }

        // Selecting the row shows that text's own tables, calculated again:
        // the rows keep no engine, so memory does not grow with the texts.
        EXPECT_EQ(outcome.Result.Engine, nullptr);
        Workspace.ShowDisputedText(static_cast<int32_t>(row));
        EXPECT_EQ(Workspace.Results().ShownTextLabel(), outcome.Label);
        for (int32_t y = 0; y < result.RowCount(); ++y)
            for (int32_t x = 0; x < result.ColCount(); ++x)
                EXPECT_EQ(Workspace.Results().ResultTable().Cell(x, y), result.Cell(x, y));
        EXPECT_EQ(Workspace.Results().AnalysisTable().RowCount(),
                  single.Workspace.Results().AnalysisTable().RowCount());
    }
}

INSTANTIATE_TEST_SUITE_P(PlainAndBalancedOnOneAndThreeThreads, EachText,
                         ::testing::Combine(::testing::Bool(), ::testing::Values(1u, 3u)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param) ? "Balanced" : "Plain") + "Jobs" +
                                    std::to_string(std::get<1>(info.param));
                         });

// A row is calculated again when selected; a text changed on disk since
// would give tables that disagree with its row, so nothing changes.
TEST(EachTextSelection, ATextChangedSinceTheRunIsNotShownWithOtherNumbers) {
    testing::TWorkspaceFixture fixture;
    TWorkspace workspace{u"/opt/quillprint/", "en_US", fixture.View, fixture.Messages, fixture.Observer};
    TTempFolder project;
    WriteCandidates(project);
    project.Write("Unknown/1.txt", Sample(11, 15));
    project.Write("Unknown/2.txt", Sample(7, 20));
    workspace.LoadProject(project.Dir());
    workspace.SetEachText(true);
    workspace.Calculate();
    ASSERT_TRUE(fixture.Messages.Errors.empty());
    ASSERT_EQ(workspace.Results().ShownText(), 0);
    const std::u16string shown = CopyGrid(workspace.Results().ResultTable());

    project.Write("Unknown/2.txt", Sample(5, 20));
    workspace.ShowDisputedText(1);
    EXPECT_EQ(fixture.Messages.Errors, std::vector<std::u16string>{std::u16string(kTextsChangedMessage)});
    EXPECT_EQ(workspace.Results().ShownText(), 0);
    EXPECT_EQ(CopyGrid(workspace.Results().ResultTable()), shown);
    EXPECT_FALSE(workspace.Runs().Running());
}

TEST(TextsTable, MarginIsTheDifferenceOfTheShownPercentages) {
    TTextOutcome outcome;
    outcome.Label = u"x";
    outcome.Words = 12;
    outcome.Candidates = {{u"A", 0.625, 10, 1, -1}, {u"B", 0.994, 10, 2, -1}, {u"C", 0.2, 10, 0, -1}};
    const TGrid grid = TextsGrid({outcome}, false);
    // B is shown capped at 99%, A rounds 62.5 to the even 62%.
    EXPECT_EQ(grid.Cell(3, 1), u"B");
    EXPECT_EQ(grid.Cell(4, 1), u"99%");
    EXPECT_EQ(grid.Cell(5, 1), u"Most likely");
    EXPECT_EQ(grid.Cell(6, 1), u"A");
    EXPECT_EQ(grid.Cell(7, 1), u"62%");
    EXPECT_EQ(grid.Cell(8, 1), u"37%");
    EXPECT_EQ(ResultCellColour(grid, 1, 1), TScoreColour::GreenBold);
}

// The runner-up was once drawn in the winner's green.
TEST(TextsTable, TheRunnerUpIsColouredByItsOwnScoreAndTheMarginPlain) {
    struct TCase {
        double Second;
        TScoreColour RunnerUp;
    };
    const TCase cases[] = {{0.3, TScoreColour::Ordinary}, {0.6, TScoreColour::Blue}, {0.8, TScoreColour::GreenBold}};
    for (const TCase& c : cases) {
        TTextOutcome outcome;
        outcome.Label = u"x";
        outcome.Candidates = {{u"A", c.Second, 10, 1, -1}, {u"B", 0.95, 10, 2, -1}};
        const std::vector<TTextOutcome> outcomes{outcome};
        const TGrid grid = TextsGrid(outcomes, false);
        for (int32_t col : {0, 1, 3, 4, 5}) EXPECT_EQ(TextsCellColour(grid, outcomes, col, 1), TScoreColour::GreenBold);
        EXPECT_EQ(TextsCellColour(grid, outcomes, 6, 1), c.RunnerUp) << c.Second;
        EXPECT_EQ(TextsCellColour(grid, outcomes, 7, 1), c.RunnerUp) << c.Second;
        EXPECT_EQ(TextsCellColour(grid, outcomes, 8, 1), TScoreColour::Ordinary);
    }
    // A text without a result, and a row past the texts.
    TTextOutcome failed;
    failed.Label = u"y";
    failed.Error = u"Cannot open file";
    const std::vector<TTextOutcome> outcomes{failed};
    const TGrid grid = TextsGrid(outcomes, false);
    EXPECT_EQ(TextsCellColour(grid, outcomes, 6, 1), TScoreColour::Ordinary);
    EXPECT_EQ(TextsCellColour(grid, outcomes, 6, 2), TScoreColour::Ordinary);
}

}  // namespace
}  // namespace quillprint
