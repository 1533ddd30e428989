#include <gtest/gtest.h>

#include <filesystem>

#include "FakeViews.h"
#include "TempProject.h"
#include "engine/Text.h"
#include "workspace/HeldBackLines.h"
#include "workspace/Workspace.h"

namespace quillprint {
namespace {

namespace fs = std::filesystem;
using testing::TTempFolder;

class Calculation : public ::testing::Test, protected testing::TWorkspaceFixture {
protected:
    TWorkspace Workspace{u"/opt/quillprint/", "en_US", View, Messages, Observer};
    TTempFolder Project;

    TTreeNode& Author(size_t index) { return *Workspace.Project().Tree().Authors().at(index); }

    std::vector<std::u16string> EngineAuthorNames() const {
        std::vector<std::u16string> names;
        for (const auto& author : Workspace.Results().Engine()->Authors()) names.push_back(author->Name());
        return names;
    }
    TWordList TestWords() const { return ListOf(Workspace.Results().Engine()->Test()->Text()); }
    TWordList CandidateWords(size_t index) const {
        return ListOf(Workspace.Results().Engine()->Authors().at(index)->Text());
    }

    // A tree made in memory: "First" holding `lines`, then "Unknown".
    void MakeFirstCandidateWithLines(const TLines& lines) {
        Workspace.NewProject();
        View.ShownLines = lines;
        Workspace.SetLabel(Author(0), u"First");
        Workspace.AddAuthor();
        Workspace.SetLabel(Author(1), u"Unknown");
        View.ShownLines = {u"ignored"};
    }
};

TEST_F(Calculation, UnknownIsTheTestTextAndTheOthersAreCandidatesInTreeOrder) {
    Project.Write("Unknown/1.txt", "one two\r\n");
    Project.Write("Unknown/2.txt", "three");
    Project.Write("beta/b.txt", "beta words");
    Project.Write("Alpha/a.txt", "alpha words");
    Workspace.LoadProject(Project.Dir());
    ASSERT_TRUE(Workspace.RunCalculationNow(false));
    EXPECT_EQ(EngineAuthorNames(), (std::vector<std::u16string>{u"Alpha", u"beta", u"Unknown"}));
    EXPECT_EQ(TestWords(), (TWordList{u"one", u"two", u"three"}));
    // No phrase is shared: one line per candidate in tree order, each 0.
    EXPECT_EQ(Workspace.Results().Summary(), u"Alpha: 0\rbeta: 0\r");
}

TEST_F(Calculation, WhatTheProjectSetsAsideIsNeverCalculated) {
    TTempFolder outside;
    outside.Write("key.txt", "secret words");
    outside.Write("etc/passwd", "root words");
    Project.Write("Unknown/u.txt", "one two");
    Project.Write("Alpha/a.txt", "alpha words");
    fs::create_symlink(outside.Path() / "key.txt", Project.Path() / "Alpha" / "notes.txt");
    fs::create_symlink(outside.Path() / "key.txt", Project.Path() / "Unknown" / "key.txt");
    fs::create_directory_symlink(outside.Path() / "etc", Project.Path() / "Etc");
    Workspace.LoadProject(Project.Dir());
    ASSERT_TRUE(Workspace.RunCalculationNow(false));
    EXPECT_EQ(EngineAuthorNames(), (std::vector<std::u16string>{u"Alpha", u"Unknown"}));
    EXPECT_EQ(CandidateWords(0), (TWordList{u"alpha", u"words"}));
    EXPECT_EQ(TestWords(), (TWordList{u"one", u"two"}));
}

TEST_F(Calculation, LabelsDecideWhichEntryIsTheTestText) {
    Workspace.NewProject();
    View.ShownLines = {u"first unknown"};
    Workspace.AddAuthor();
    View.ShownLines = {u"second unknown"};
    Workspace.AddAuthor();
    View.ShownLines = {u"a candidate"};
    Workspace.SetLabel(Author(1), u"Unknown");  // the later "Unknown" wins
    Workspace.SetLabel(Author(0), u"unknown");  // exact case only: a candidate
    ASSERT_TRUE(Workspace.RunCalculationNow(false));
    EXPECT_EQ(EngineAuthorNames(), (std::vector<std::u16string>{u"unknown", u"Author 2", u"Unknown"}));
    EXPECT_EQ(TestWords(), (TWordList{u"second", u"unknown"}));
    EXPECT_EQ(CandidateWords(0), (TWordList{u"first", u"unknown"}));
}

TEST_F(Calculation, EmptyTreeLeavesNoEngine) {
    Project.Write("Alpha/a.txt", "a");
    Workspace.LoadProject(Project.Dir());
    EXPECT_FALSE(Workspace.RunCalculationNow(false));
    EXPECT_EQ(Workspace.Results().Engine(), nullptr);
    Workspace.Calculate();  // no message, no page change
    EXPECT_TRUE(Messages.Errors.empty());
    EXPECT_FALSE(Workspace.Calculated());
    EXPECT_EQ(Observer.Pages, std::vector<TPage>{TPage::InputData});
}

TEST_F(Calculation, EditsOfTheSelectedInMemoryTextCount) {
    Workspace.NewProject();
    Workspace.AddAuthor();
    View.ShownLines = {u"candidate text"};
    Workspace.SelectNode(Author(0).Texts()[0].get());
    View.ShownLines = {u"edited", u"unknown"};  // not yet written back
    ASSERT_TRUE(Workspace.RunCalculationNow(false));
    EXPECT_EQ(TestWords(), (TWordList{u"edited", u"unknown"}));
    EXPECT_EQ(CandidateWords(0), (TWordList{u"candidate", u"text"}));
}

TEST(HoldBackLines, HoldsBackTheLastFifthLastLineFirst) {
    struct TCase {
        int Lines, HeldBack;
    };
    for (const TCase c : {TCase{0, 0}, {4, 0}, {5, 1}, {9, 1}, {10, 2}, {12, 2}}) {
        TLines lines;
        for (int i = 1; i <= c.Lines; ++i) lines.push_back(u"l" + FromUtf8(std::to_string(i)));
        std::u16string expected;
        for (int i = c.Lines; i > c.Lines - c.HeldBack; --i) expected += u"l" + FromUtf8(std::to_string(i));
        EXPECT_EQ(HoldBackLines(lines), expected) << c.Lines << " lines";
        EXPECT_EQ(lines.size(), static_cast<size_t>(c.Lines - c.HeldBack)) << c.Lines << " lines";
    }
}

TEST_F(Calculation, ValidationHoldsBackTheFirstCandidatesLastLines) {
    TLines lines;
    for (int i = 1; i <= 12; ++i) lines.push_back(u"line" + FromUtf8(std::to_string(i)));
    MakeFirstCandidateWithLines(lines);
    ASSERT_TRUE(Workspace.RunCalculationNow(true));
    EXPECT_EQ(EngineAuthorNames(), (std::vector<std::u16string>{u"First", u"Unknown"}));
    EXPECT_EQ(TestWords(), TWordList{u"line12line11"});
    EXPECT_EQ(CandidateWords(0).size(), 10u);
    EXPECT_EQ(CandidateWords(0).back(), u"line10");
}

TEST_F(Calculation, ValidationOfALoadedProjectHoldsNothingBack) {
    Project.Write("Unknown/u.txt", "unknown text");
    Project.Write("Alpha/a.txt", "1\n2\n3\n4\n5\n6\n7\n8\n9\n10");
    Workspace.LoadProject(Project.Dir());
    ASSERT_TRUE(Workspace.RunCalculationNow(true));
    EXPECT_EQ(EngineAuthorNames(), (std::vector<std::u16string>{u"Alpha", u"Unknown"}));
    EXPECT_TRUE(TestWords().empty());
    EXPECT_EQ(CandidateWords(0).size(), 10u);
    EXPECT_FALSE(Workspace.Calculated());
    EXPECT_EQ(Observer.Pages, std::vector<TPage>{TPage::InputData});
}

TEST_F(Calculation, CalculateFillsTheTablesAndShowsTheResult) {
    Project.Write("Unknown/u.txt", "the cat sat on the mat");
    Project.Write("Alpha/a.txt", "the cat sat on the mat today");
    Project.Write("Beta/b.txt", "a dog ran in the park");
    Workspace.LoadProject(Project.Dir());
    Workspace.Calculate();
    EXPECT_TRUE(Workspace.Calculated());
    EXPECT_EQ(Observer.Pages.back(), TPage::Result);
    EXPECT_EQ(Workspace.Results().ResultTable().RowCount(), 4);
    EXPECT_EQ(Workspace.Results().ResultTable().Cell(0, 3), u"Unknown");
    EXPECT_EQ(Workspace.Results().AuthorChoices().size(), 3u);
    EXPECT_EQ(Workspace.Results().ChosenAuthor(), -1);
    EXPECT_EQ(Workspace.Results().AnalysisTable().ColCount(), 4);
}

TEST_F(Calculation, BalanceAddsDrawsWonAndTurningItOffRestoresThePlainTable) {
    Project.Write("Unknown/u.txt", "the cat sat on the mat");
    Project.Write("Alpha/a.txt", "the cat sat on the mat today");
    Project.Write("Beta/b.txt", "a dog ran in the park");
    Workspace.LoadProject(Project.Dir());
    Workspace.Calculate();
    const TGrid plainGrid = Workspace.Results().ResultTable();
    const std::u16string plain = CopyGrid(plainGrid);
    const std::u16string plainSummary = Workspace.Results().Summary();

    Workspace.SetBalance(true);
    Workspace.Calculate();
    const TGrid& balanced = Workspace.Results().ResultTable();
    ASSERT_EQ(balanced.ColCount(), 5);
    EXPECT_EQ(balanced.Cell(4, 0), u"Draws won");
    // Both candidates are within the budget: every draw is the plain run.
    for (int32_t row = 0; row < 4; ++row)
        for (int32_t col = 0; col < 4; ++col) EXPECT_EQ(balanced.Cell(col, row), plainGrid.Cell(col, row));
    EXPECT_EQ(balanced.Cell(0, 1), u"Alpha");
    EXPECT_EQ(balanced.Cell(4, 1), u"9");
    EXPECT_EQ(balanced.Cell(4, 2), u"0");
    EXPECT_EQ(Workspace.Results().Summary(), plainSummary);
    EXPECT_EQ(Workspace.Results().ResultCellColour(4, 1), TScoreColour::GreenBold);
    EXPECT_EQ(Workspace.Results().Engine()->Authors().size(), 3u);

    Workspace.SetBalance(false);
    Workspace.Calculate();
    EXPECT_EQ(CopyGrid(Workspace.Results().ResultTable()), plain);
}

TEST_F(Calculation, FailedRunKeepsTheTextsButDropsEverythingThatReferredToTheEngine) {
    Project.Write("Unknown/u.txt", "the cat sat on the mat");
    const auto doomed = Project.Write("Alpha/a.txt", "the cat sat on the mat today");
    Workspace.LoadProject(Project.Dir());
    Workspace.Calculate();
    const TGrid before = Workspace.Results().ResultTable();
    ASSERT_EQ(Workspace.Results().ResultCellColour(0, 1), TScoreColour::GreenBold);
    Workspace.ShowPage(TPage::Stylometry);
    EXPECT_EQ(Workspace.Results().ChosenAuthor(), 0);

    Workspace.AddAuthor();  // results out of date
    fs::remove(doomed);
    Observer.Pages.clear();
    Workspace.Calculate();
    ASSERT_EQ(Messages.Errors.size(), 1u);
    EXPECT_EQ(Messages.Errors[0], u"Cannot open file \"" + Project.Dir() + u"Alpha/a.txt\". No such file or directory");
    EXPECT_FALSE(Workspace.Calculated());
    EXPECT_TRUE(Observer.Pages.empty());
    EXPECT_EQ(Workspace.Results().ResultTable().Cell(0, 1), before.Cell(0, 1));
    EXPECT_EQ(Workspace.Results().ResultCellColour(0, 1), TScoreColour::Ordinary);
    EXPECT_EQ(Workspace.Results().AnalysisCellColour(1, 0), TScoreColour::Ordinary);
    EXPECT_TRUE(Workspace.Results().AuthorChoices().empty());
    EXPECT_EQ(Workspace.Results().ChosenAuthor(), -1);
    Workspace.ChooseAuthor(0);  // no entry to choose: nothing happens
    EXPECT_EQ(Workspace.Results().ChosenAuthor(), -1);
}

TEST_F(Calculation, PageChangeCalculatesOnceAndFillsStylometryOnItsFirstVisit) {
    Project.Write("Unknown/u.txt", "the cat sat on the mat");
    Project.Write("Alpha/a.txt", "the cat sat on the mat today");
    Workspace.LoadProject(Project.Dir());
    Workspace.ShowPage(TPage::Stylometry);
    EXPECT_TRUE(Workspace.Calculated());
    // The user stays on the page chosen: "Result" is never brought up in between.
    EXPECT_EQ(Observer.Pages, (std::vector<TPage>{TPage::InputData}));
    EXPECT_EQ(Workspace.Results().ChosenAuthor(), 0);
    EXPECT_GT(Workspace.Results().StylometryRowsWritten(), 0);
    const TQuillprint* engine = Workspace.Results().Engine();
    Workspace.ShowPage(TPage::Analysis);
    EXPECT_EQ(Workspace.Results().Engine(), engine);
}

TEST_F(Calculation, NothingIsWrittenIntoTheProjectFolder) {
    Project.Write("Unknown/u.txt", "the cat sat on the mat");
    Project.Write("Gamma/other.txt", "a third author");
    Project.Write("Alpha/a.txt", "\xEF\xBB\xBFthe cat sat on the mat today");
    Project.Write("Beta/b.txt", "caf\xE9 dog ran");
    Project.Write("Beta/.hidden", "x");
    const auto before = testing::SnapshotFolder(Project.Path());
    Workspace.LoadProject(Project.Dir());
    Workspace.SelectNode(&Author(2));
    Workspace.ShowPage(TPage::Stylometry);
    Workspace.Validate();
    EXPECT_TRUE(Messages.Errors.empty());
    EXPECT_EQ(testing::SnapshotFolder(Project.Path()), before);
}

}  // namespace
}  // namespace quillprint
