#include <gtest/gtest.h>

#include "FakeViews.h"
#include "TempProject.h"
#include "engine/Text.h"
#include "workspace/Workspace.h"

namespace quillprint {
namespace {

using testing::SnapshotFolder;
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

// What an extraction of `exportName` produced: a participant per (name,
// lines) and, when given, one more whose lines are the text to attribute.
TExtractionResult Extraction(std::u16string exportName, const std::vector<std::pair<std::u16string, TLines>>& authors,
                             const std::optional<TLines>& unknownText = std::nullopt) {
    TExtractionResult extraction{std::move(exportName), {}};
    for (const auto& [name, lines] : authors)
        extraction.Participants.push_back({name + u",+1,", name, static_cast<int32_t>(lines.size()), false, lines});
    if (unknownText)
        extraction.Participants.push_back(
            {u"Them,+2,", u"Them", static_cast<int32_t>(unknownText->size()), true, *unknownText});
    return extraction;
}

class ExtractedAuthors : public ::testing::Test, protected testing::TWorkspaceFixture {
protected:
    void SetUp() override {
        Project.Write("Unknown/chat.txt", "the unknown text on disk");
        Project.Write("Alpha/a.txt", "alpha writes about the weather and the sea");
        Workspace.LoadProject(Project.Dir());
        // A folder the tree does not show: it came after loading.
        Project.Write("bob/chat.txt", "not bob's chat lines");
    }
    TTreeNode& Author(size_t index) { return *Workspace.Project().Tree().Authors().at(index); }

    TWorkspace Workspace{u"/opt/quillprint/", "en_US", View, Messages, Observer};
    TTempFolder Project;
};

TEST_F(ExtractedAuthors, BecomeAuthorsWithInMemoryTextsAndMakeTheResultsStale) {
    Workspace.Calculate();
    ASSERT_TRUE(Workspace.Calculated());
    const auto before = SnapshotFolder(Project.Path());

    Workspace.AddExtractedAuthors(Extraction(u"chat.txt", {{u"Ann", {u"the weather and the sea", u"hello"}},
                                                           {u"Bob", {u"bye"}},
                                                           {u"alpha", {u"case"}},
                                                           {u"unknown", {u"not the test text"}}}));
    // "Bob" would share the folder "bob", "alpha" the author Alpha, and
    // "unknown" would be the text to attribute.
    EXPECT_EQ(Outline(Workspace.Project().Tree()),
              "Unknown[chat.txt] Alpha[a.txt] Ann[chat.txt] Bob (2)[chat.txt] alpha (2)[chat.txt] "
              "unknown (2)[chat.txt]");
    EXPECT_FALSE(Workspace.Calculated());
    EXPECT_FALSE(View.ReadOnly);
    EXPECT_EQ(Workspace.Project().Selected(), Author(2).Texts().front().get());
    EXPECT_EQ(View.ShownLines, (TLines{u"the weather and the sea", u"hello"}));
    EXPECT_EQ(Observer.Pages.back(), TPage::InputData);
    ASSERT_NE(Author(3).Texts().front()->Text(), nullptr);
    EXPECT_EQ(Author(3).Texts().front()->Text()->Lines, TLines{u"bye"});

    // They take part in the next calculation as candidates.
    ASSERT_TRUE(Workspace.RunCalculationNow(false));
    std::vector<std::u16string> names;
    for (const auto& author : Workspace.Results().Engine()->Authors()) names.push_back(author->Name());
    EXPECT_EQ(names, (std::vector<std::u16string>{u"Alpha", u"Ann", u"Bob (2)", u"alpha (2)",
                                                   u"unknown (2)", u"Unknown"}));
    EXPECT_EQ(Workspace.Results().Engine()->Authors().at(1)->WordCount(), 6);
    EXPECT_EQ(SnapshotFolder(Project.Path()), before);
}

TEST_F(ExtractedAuthors, TheUnknownTextBecomesANewTextOfUnknown) {
    Workspace.AddExtractedAuthors(Extraction(u"chat.txt", {{u"Ann", {u"a"}}}, TLines{u"who wrote this"}));
    // "Unknown/chat.txt" exists on disk and would be shown instead.
    EXPECT_EQ(Outline(Workspace.Project().Tree()), "Unknown[chat.txt,chat.txt (2)] Alpha[a.txt] Ann[chat.txt]");
    ASSERT_TRUE(Workspace.RunCalculationNow(false));
    EXPECT_EQ(Workspace.Results().Engine()->Authors().back()->WordCount(), 8);  // 5 on disk + 3
}

TEST_F(ExtractedAuthors, AnUnknownTextAloneMakesAnUnknownEntryWhenThereIsNone) {
    Workspace.SetLabel(Author(0), u"Earlier");
    Workspace.AddExtractedAuthors(Extraction(u"export.txt", {}, TLines{u"who wrote this"}));
    EXPECT_EQ(Outline(Workspace.Project().Tree()), "Earlier[chat.txt] Alpha[a.txt] Unknown[export.txt]");
    EXPECT_EQ(View.ShownLines, TLines{u"who wrote this"});
}

TEST_F(ExtractedAuthors, NothingToAddChangesNothing) {
    Workspace.Calculate();
    const std::string outline = Outline(Workspace.Project().Tree());
    Workspace.AddExtractedAuthors(Extraction(u"chat.txt", {}));
    EXPECT_EQ(Outline(Workspace.Project().Tree()), outline);
    EXPECT_TRUE(Workspace.Calculated());
}

}  // namespace
}  // namespace quillprint
