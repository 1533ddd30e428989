// Texts that live only in memory: whether there are any the user would lose
// by opening another project, and text files dropped on an author.
#include <gtest/gtest.h>

#include "FakeViews.h"
#include "TempProject.h"
#include "engine/Text.h"
#include "workspace/ProjectFolder.h"
#include "workspace/Workspace.h"

namespace quillprint {
namespace {

using testing::SnapshotFolder;
using testing::TTempFolder;

class ProjectTexts : public ::testing::Test, protected testing::TWorkspaceFixture {
protected:
    void SetUp() override {
        Project.Write("Unknown/disputed.txt", "the unknown text on disk");
        Project.Write("Alpha/a.txt", "alpha writes about the weather and the sea");
        Workspace.LoadProject(Project.Dir());
    }
    TTreeNode& Author(size_t index) { return *Workspace.Project().Tree().Authors().at(index); }
    std::vector<std::u16string> Labels(size_t author) {
        std::vector<std::u16string> labels;
        for (const auto& text : Author(author).Texts()) labels.push_back(text->Label());
        return labels;
    }
    std::u16string Outside(const char* name, std::string_view bytes) {
        return FromFsPath(Files.Write(name, bytes));
    }

    TWorkspace Workspace{u"/opt/quillprint/", "en_US", View, Messages, Observer};
    TTempFolder Project;
    TTempFolder Files;  // outside the project
};

TEST_F(ProjectTexts, OnlyTextsInMemoryThatHoldSomethingCount) {
    // Files of a loaded project are never lost.
    EXPECT_FALSE(Workspace.Project().HasTypedTexts());
    // An empty text made by "Add author" holds nothing to lose.
    Workspace.AddAuthor();
    EXPECT_FALSE(Workspace.Project().HasTypedTexts());
    // Typed into the view, not yet written back to the text.
    View.ShownLines = {u"typed by hand"};
    EXPECT_TRUE(Workspace.Project().HasTypedTexts());
    // Written back once another text is selected.
    Workspace.SelectNode(Author(0).Texts().front().get());
    EXPECT_TRUE(Workspace.Project().HasTypedTexts());
    EXPECT_EQ(Author(2).Texts().front()->Text()->Lines, TLines{u"typed by hand"});

    // Blank lines alone hold nothing.
    Workspace.NewProject();
    View.ShownLines = {u"", u""};
    EXPECT_FALSE(Workspace.Project().HasTypedTexts());
    View.ShownLines = {u"", u" "};
    EXPECT_TRUE(Workspace.Project().HasTypedTexts());
}

TEST_F(ProjectTexts, DroppedFilesBecomeInMemoryTextsOfTheAuthor) {
    Project.Write("Alpha/letter.txt", "a file of the project folder");
    Workspace.Calculate();
    ASSERT_TRUE(Workspace.Calculated());
    const auto projectBefore = SnapshotFolder(Project.Path());
    const std::u16string letter = Outside("letter.txt", "dear sir\r\nthe weather\r\n");
    // No byte-order mark and not UTF-8: the locale's legacy code page.
    const std::u16string note = Outside("notes/note.txt", "caf\xe9 au lait");
    const auto filesBefore = SnapshotFolder(Files.Path());

    Workspace.AddTextFiles(Author(1), {letter, note});
    // "letter.txt" is a file of Alpha's folder, which would be shown instead.
    EXPECT_EQ(Labels(1), (std::vector<std::u16string>{u"a.txt", u"letter.txt (2)", u"note.txt"}));
    const TTreeNode& added = *Author(1).Texts()[1];
    ASSERT_NE(added.Text(), nullptr);
    EXPECT_EQ(added.Text()->Lines, (TLines{u"dear sir", u"the weather"}));
    EXPECT_EQ(Author(1).Texts()[2]->Text()->Lines, TLines{u"caf\u00e9 au lait"});
    EXPECT_EQ(Workspace.Project().Selected(), &added);
    EXPECT_EQ(View.ShownLines, (TLines{u"dear sir", u"the weather"}));
    EXPECT_FALSE(Workspace.Calculated());
    EXPECT_EQ(Observer.Pages.back(), TPage::InputData);
    EXPECT_TRUE(Messages.Errors.empty());

    // They count as the author's text in the next calculation.
    ASSERT_TRUE(Workspace.RunCalculationNow(false));
    EXPECT_EQ(Workspace.Results().Engine()->Authors().front()->WordCount(), 8 + 4 + 3);
    EXPECT_EQ(SnapshotFolder(Project.Path()), projectBefore);
    EXPECT_EQ(SnapshotFolder(Files.Path()), filesBefore);
}

TEST_F(ProjectTexts, AnUnreadableDroppedFileAddsNothing) {
    const std::u16string good = Outside("good.txt", "readable");
    const std::u16string missing = FromFsPath(Files.Path() / "gone.txt");
    const std::u16string folder = FromFsPath(Files.MakeFolder("a folder"));
    for (const std::u16string& bad : {missing, folder}) {
        Messages.Errors.clear();
        Workspace.AddTextFiles(Author(1), {good, bad});
        EXPECT_EQ(Labels(1), std::vector<std::u16string>{u"a.txt"});
        ASSERT_EQ(Messages.Errors.size(), 1u);
        EXPECT_NE(Messages.Errors.front().find(u"Cannot open file"), std::u16string::npos);
        EXPECT_NE(Messages.Errors.front().find(bad), std::u16string::npos);
    }
}

TEST_F(ProjectTexts, DroppedTextsCountAsTyped) {
    EXPECT_FALSE(Workspace.Project().HasTypedTexts());
    Workspace.AddTextFiles(Author(0), {Outside("more.txt", "more of the unknown")});
    EXPECT_TRUE(Workspace.Project().HasTypedTexts());
}

}  // namespace
}  // namespace quillprint
