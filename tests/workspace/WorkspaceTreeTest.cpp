#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "FakeViews.h"
#include "TempProject.h"
#include "engine/Text.h"
#include "workspace/Workspace.h"

namespace quillprint {
namespace {

namespace fs = std::filesystem;
using testing::TTempFolder;

// The tree in one line: "Unknown[a,b] Alpha[] ...".
std::string Outline(const TAuthorTree& tree) {
    std::string text;
    for (const auto& author : tree.Authors()) {
        if (!text.empty()) text += ' ';
        text += ToUtf8(author->Label()) + '[';
        for (size_t i = 0; i < author->Texts().size(); ++i)
            text += (i ? "," : "") + ToUtf8(author->Texts()[i]->Label());
        text += ']';
    }
    return text;
}

class WorkspaceTree : public ::testing::Test, protected testing::TWorkspaceFixture {
protected:
    TWorkspace Workspace{u"/opt/quillprint/", "en_US", View, Messages, Observer};
    TTempFolder Project;

    TTreeNode& Author(size_t index) { return *Workspace.Project().Tree().Authors().at(index); }
    TTreeNode& Text(size_t author, size_t text) { return *Author(author).Texts().at(text); }
};

TEST_F(WorkspaceTree, LoadPutsUnknownFirstWhateverItsCase) {
    Project.Write("beta/b1.txt", "beta one");
    Project.Write("Alpha/a1.txt", "alpha one");
    Project.Write("unknown/u2.txt", "second");
    Project.Write("unknown/U1.txt", "first\r\nline two");
    Project.Write("unknown/.hidden", "hidden");
    Project.Write("Alpha/inner/deep.txt", "deep");
    Project.Write("loose.txt", "loose");
    Workspace.LoadProject(Project.Dir());

    EXPECT_EQ(Outline(Workspace.Project().Tree()), "Unknown[U1.txt,u2.txt] Alpha[a1.txt] beta[b1.txt]");
    EXPECT_EQ(Workspace.Project().Selected(), &Text(0, 0));
    EXPECT_EQ(Workspace.Project().ShownEntry(), &Text(0, 0));
    EXPECT_EQ(View.ShownLines, (TLines{u"first", u"line two"}));
    EXPECT_TRUE(View.ReadOnly);
    EXPECT_FALSE(Workspace.Calculated());
    EXPECT_EQ(Observer.Pages, std::vector<TPage>{TPage::InputData});
    EXPECT_TRUE(Messages.Messages.empty());
}

TEST_F(WorkspaceTree, FolderWithoutUnknownIsReportedAndLeavesTheTreeEmpty) {
    Project.Write("Alpha/a.txt", "a");
    Workspace.LoadProject(Project.Dir());
    EXPECT_TRUE(Workspace.Project().Tree().Empty());
    EXPECT_EQ(Messages.Messages, std::vector<std::u16string>{u"Please add \"Unknown\" folder for analysis"});
    EXPECT_EQ(Workspace.Project().Folder(), Project.Dir());

    Messages.Messages.clear();
    Workspace.LoadProject(Project.Dir() + u"missing/");
    EXPECT_TRUE(Workspace.Project().Tree().Empty());
    EXPECT_EQ(Messages.Messages.size(), 1u);
}

TEST_F(WorkspaceTree, AFolderThatCannotBeListedIsAnErrorAndLoadsNothing) {
    Project.Write("Unknown/u.txt", "one");
    Project.Write("Alpha/a.txt", "a");
    Project.Write("Beta/b.txt", "b");
    fs::permissions(Project.Path() / "Alpha", fs::perms::none);
    // Root reads any folder; the check runs in a child that has given up
    // root, and reports through its exit status.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(10);
        Workspace.OpenFolder(Project.Dir());
        const std::u16string expected =
            u"Cannot open folder \"" + FromUtf8((Project.Path() / "Alpha").string()) + u"\". Permission denied";
        if (Messages.Errors != std::vector<std::u16string>{expected}) _exit(11);
        _exit(Workspace.Project().Tree().Empty() ? 0 : 12);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "10: cannot give up root, 11: other errors, 12: a tree was loaded";
}

TEST_F(WorkspaceTree, TwoUnknownFoldersInDifferentCaseAreReportedAndLoadNothing) {
    Project.Write("Unknown/u.txt", "one");
    Project.Write("UNKNOWN/v.txt", "two");
    Project.Write("Alpha/a.txt", "a");
    Workspace.LoadProject(Project.Dir());
    EXPECT_TRUE(Workspace.Project().Tree().Empty());
    EXPECT_EQ(Messages.Messages,
              std::vector<std::u16string>{u"Two folders are named \"Unknown\" in different letter case"});
}

TEST_F(WorkspaceTree, EmptyUnknownLoadsWithNothingSelected) {
    Project.MakeFolder("Unknown");
    Project.MakeFolder("Empty author");
    View.ShownLines = {u"before"};
    Workspace.LoadProject(Project.Dir());
    EXPECT_EQ(Outline(Workspace.Project().Tree()), "Unknown[] Empty author[]");
    EXPECT_EQ(Workspace.Project().Selected(), nullptr);
    // Nothing of the project before stays in view.
    EXPECT_TRUE(View.ShownLines.empty());
}

TEST_F(WorkspaceTree, LinksOutOfTheProjectAreShownWithANoteAndNeverRead) {
    TTempFolder outside;
    outside.Write("key.txt", "the secret key");
    outside.Write("etc/passwd", "root");
    Project.Write("Unknown/u.txt", "unknown text");
    Project.Write("Bob/b.txt", "bob text");
    fs::create_symlink(outside.Path() / "key.txt", Project.Path() / "Bob" / "notes.txt");
    fs::create_directory_symlink(outside.Path() / "etc", Project.Path() / "Etc");
    ASSERT_EQ(::mkfifo((Project.Path() / "Bob" / "pipe").c_str(), 0600), 0);
    Workspace.LoadProject(Project.Dir());
    // What is read first, in listing order; what is set aside after it.
    EXPECT_EQ(Outline(Workspace.Project().Tree()), "Unknown[u.txt] Bob[b.txt,notes.txt,pipe] Etc[]");
    EXPECT_EQ(Text(1, 1).Note(), u"link outside the project, not followed");
    EXPECT_EQ(Text(1, 2).Note(), u"not a text (a named pipe)");
    EXPECT_EQ(Author(2).Note(), u"link outside the project, not followed");
    EXPECT_FALSE(Text(1, 0).IsSetAside());
    EXPECT_TRUE(Messages.Errors.empty());

    // Selecting it shows nothing of the file (nor waits on the pipe).
    Workspace.SelectNode(&Text(1, 1));
    EXPECT_TRUE(View.ShownLines.empty());
    Workspace.SelectNode(&Text(1, 2));
    EXPECT_TRUE(View.ShownLines.empty());
    // No text can be added to an author that is never calculated.
    Workspace.SelectNode(&Author(2));
    Workspace.AddText();
    EXPECT_TRUE(Author(2).Texts().empty());

    // With the setting, the next load reads them.
    Workspace.SetFollowLinks(true);
    Workspace.LoadProject(Project.Dir());
    EXPECT_EQ(Outline(Workspace.Project().Tree()), "Unknown[u.txt] Bob[b.txt,notes.txt,pipe] Etc[passwd]");
    EXPECT_FALSE(Text(1, 1).IsSetAside());
    Workspace.SelectNode(&Text(1, 1));
    EXPECT_EQ(View.ShownLines, TLines{u"the secret key"});
}

TEST_F(WorkspaceTree, SelectingAnAuthorShowsItsFirstTextOrChangesNothing) {
    Project.Write("Unknown/u.txt", "unknown text");
    Project.Write("Alpha/a1.txt", "alpha one");
    Project.Write("Alpha/a2.txt", "alpha two");
    Project.MakeFolder("Beta");
    Workspace.LoadProject(Project.Dir());

    Workspace.SelectNode(&Author(1));
    EXPECT_EQ(Workspace.Project().Selected(), &Text(1, 0));
    EXPECT_EQ(View.ShownLines, TLines{u"alpha one"});

    Workspace.SelectNode(&Author(2));  // Beta has no texts
    EXPECT_EQ(Workspace.Project().Selected(), &Author(2));
    EXPECT_EQ(Workspace.Project().ShownEntry(), &Text(1, 0));
    EXPECT_EQ(View.ShownLines, TLines{u"alpha one"});
}

TEST_F(WorkspaceTree, AddAuthorNumbersByHalfTheEntries) {
    Workspace.AddAuthor();
    EXPECT_EQ(Outline(Workspace.Project().Tree()), "Author 0[1]");
    EXPECT_FALSE(View.ReadOnly);

    Workspace.NewProject();
    EXPECT_EQ(Outline(Workspace.Project().Tree()), "Unknown[1]");
    Workspace.AddAuthor();
    Workspace.AddAuthor();
    EXPECT_EQ(Outline(Workspace.Project().Tree()), "Unknown[1] Author 1[1] Author 2[1]");
    EXPECT_EQ(Workspace.Project().Selected(), &Text(2, 0));
}

TEST_F(WorkspaceTree, AddAuthorCountsLoadedTexts) {
    for (const char* file : {"Unknown/1", "A/1", "A/2", "A/3", "B/1", "B/2", "B/3", "B/4", "B/5", "B/6"})
        Project.Write(file, "x");
    Workspace.LoadProject(Project.Dir());  // 3 authors, 10 texts: 13 entries
    Workspace.AddAuthor();
    EXPECT_EQ(Author(3).Label(), u"Author 6");
}

TEST_F(WorkspaceTree, NewGivesOneEditableUnknownText) {
    Project.Write("Unknown/u.txt", "text");
    Workspace.LoadProject(Project.Dir());
    const std::u16string projectDir = Workspace.Project().Folder();
    Workspace.NewProject();
    EXPECT_EQ(Outline(Workspace.Project().Tree()), "Unknown[1]");
    EXPECT_TRUE(View.ShownLines.empty());
    EXPECT_FALSE(View.ReadOnly);
    EXPECT_TRUE(View.Visible);
    EXPECT_EQ(Workspace.Project().Folder(), projectDir);
    EXPECT_EQ(Workspace.Results().ResultTable().RowCount(), 2);
    EXPECT_EQ(Workspace.Results().ResultTable().Cell(0, 0), u"Author");
    EXPECT_EQ(Observer.Pages.back(), TPage::InputData);
}

TEST_F(WorkspaceTree, AddTextNumbersAfterTheAuthorsTexts) {
    Workspace.NewProject();
    Workspace.AddText();
    EXPECT_EQ(Outline(Workspace.Project().Tree()), "Unknown[1,2]");
    Workspace.SelectNode(&Text(0, 1));
    Workspace.AddText();
    EXPECT_EQ(Outline(Workspace.Project().Tree()), "Unknown[1,2,3]");
    EXPECT_EQ(Workspace.Project().Selected(), &Text(0, 2));
    EXPECT_EQ(Workspace.Project().Texts().size(), 3u);

    Workspace.SelectNode(nullptr);
    Workspace.AddText();  // nothing selected: nothing happens
    EXPECT_EQ(Workspace.Project().Texts().size(), 3u);
}

TEST_F(WorkspaceTree, TypedTextSurvivesSelectingAnotherEntry) {
    Workspace.NewProject();
    View.ShownLines = {u"typed", u"text"};
    Workspace.AddAuthor();
    EXPECT_TRUE(View.ShownLines.empty());
    View.ShownLines = {u"candidate"};
    Workspace.SelectNode(&Text(0, 0));
    EXPECT_EQ(View.ShownLines, (TLines{u"typed", u"text"}));
    Workspace.SelectNode(&Author(1));
    EXPECT_EQ(View.ShownLines, TLines{u"candidate"});
}

TEST_F(WorkspaceTree, InMemoryTextWhosePathNamesAFileShowsTheFile) {
    Project.Write("Unknown/u.txt", "u");
    Project.Write("Author 2/1", "from the file");
    Project.MakeFolder("Author 1");
    Workspace.LoadProject(Project.Dir());  // Unknown, Author 1, Author 2: 4 entries
    Workspace.AddAuthor();        // "Author 2" with text "1"
    EXPECT_EQ(Author(3).Label(), u"Author 2");
    EXPECT_EQ(View.ShownLines, TLines{u"from the file"});
    Workspace.SelectNode(&Text(0, 0));  // the write-back copies the file's lines
    EXPECT_EQ(Text(3, 0).Text()->Lines, TLines{u"from the file"});
}

TEST_F(WorkspaceTree, VanishedFileIsReportedAndTheViewKeepsItsText) {
    Project.Write("Unknown/u.txt", "unknown");
    const auto doomed = Project.Write("Alpha/a.txt", "alpha");
    Workspace.LoadProject(Project.Dir());
    fs::remove(doomed);
    Workspace.SelectNode(&Text(1, 0));
    ASSERT_EQ(Messages.Errors.size(), 1u);
    EXPECT_EQ(Messages.Errors[0], u"Cannot open file \"" + Project.Dir() + u"Alpha/a.txt\". No such file or directory");
    EXPECT_EQ(View.ShownLines, TLines{u"unknown"});
}

// Reads of /proc/self/mem fail with an I/O error, even for root: a file that
// exists but cannot be read.
constexpr const char* kUnreadableFile = "/proc/self/mem";

TEST_F(WorkspaceTree, FailedReadNeverOverwritesTheEntrysOwnText) {
    Project.Write("Unknown/u.txt", "unknown");
    Workspace.LoadProject(Project.Dir());
    Workspace.AddAuthor();  // "Author 1" with the in-memory text "1"
    View.ShownLines = {u"mine"};
    Workspace.SelectNode(&Text(0, 0));
    fs::create_symlink(kUnreadableFile, Project.MakeFolder("Author 1") / "1");

    Workspace.SelectNode(&Text(1, 0));
    ASSERT_EQ(Messages.Errors.size(), 1u);
    EXPECT_EQ(Messages.Errors[0].rfind(u"Cannot open file \"" + Project.Dir() + u"Author 1/1\". ", 0), 0u);
    EXPECT_EQ(View.ShownLines, TLines{u"unknown"});
    Workspace.SelectNode(&Text(0, 0));
    EXPECT_EQ(Text(1, 0).Text()->Lines, TLines{u"mine"});
}

TEST_F(WorkspaceTree, EditedLabelChangesThePathOfAFileBackedText) {
    Project.Write("Unknown/u.txt", "u");
    Project.Write("Alpha/a.txt", "alpha");
    Project.Write("Beta/a.txt", "beta");
    Workspace.LoadProject(Project.Dir());
    Workspace.SetLabel(Author(1), u"Beta");
    Workspace.SelectNode(&Text(1, 0));
    EXPECT_EQ(View.ShownLines, TLines{u"beta"});
}

TEST_F(WorkspaceTree, ExampleAndOpenFolderPaths) {
    Workspace.OpenExample(TExample::Presidents);
    EXPECT_EQ(Workspace.Project().Folder(), u"/opt/quillprint/Examples/Presidents/");
    Workspace.Start();
    EXPECT_EQ(Workspace.Project().Folder(), u"/opt/quillprint/Examples/FederalistShort/");
    Project.MakeFolder("Unknown");
    Workspace.OpenFolder(u" \t" + Project.Dir().substr(0, Project.Dir().size() - 1) + u"\n ");
    EXPECT_EQ(Workspace.Project().Folder(), Project.Dir());
    EXPECT_EQ(Workspace.HelpDocumentPath(), u"/opt/quillprint/Quillprint.pdf");
}

}  // namespace
}  // namespace quillprint
