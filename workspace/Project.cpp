#include "workspace/Project.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "engine/Text.h"
#include "workspace/Grid.h"
#include "workspace/ProjectFolder.h"

namespace quillprint {

namespace {

// Sets a flag until the end of the scope, also when an error passes through.
class TFlagGuard {
public:
    explicit TFlagGuard(bool& flag) : FFlag(flag) { FFlag = true; }
    ~TFlagGuard() { FFlag = false; }
    TFlagGuard(const TFlagGuard&) = delete;
    TFlagGuard& operator=(const TFlagGuard&) = delete;

private:
    bool& FFlag;
};

bool IsExistingFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(path, error) && !std::filesystem::is_directory(path, error);
}

}  // namespace

TProject::TProject(std::string codePage, TTextView& textView, TWorkspaceObserver& observer,
                   std::function<void()> candidatesChanged)
    : FCodePage(std::move(codePage)),
      FTextView(textView),
      FObserver(observer),
      FCandidatesChanged(std::move(candidatesChanged)) {}

std::u16string TProject::TextPath(const TTreeNode& text) const {
    return FFolder + text.Parent()->Label() + PathSeparator() + text.Label();
}

void TProject::Close(std::u16string folder) {
    FFolder = std::move(folder);
    FTextView.SetReadOnly(true);
    FShownEntry = nullptr;
    {
        TFlagGuard updating(FUpdatingTree);
        ClearTree();
    }
    FTextView.SetLines({});
}

std::optional<std::u16string> TProject::Read(bool followLinks) {
    std::u16string refusal;
    std::vector<TSetAsideEntry> setAside;
    const std::optional<std::vector<TAuthorSource>> authors = ProjectAuthors(FFolder, &refusal, followLinks, &setAside);
    if (!authors) return refusal;
    // The tree is filled only once every folder has been listed, so a folder
    // that cannot be listed leaves no half-read tree behind. What is set
    // aside comes after what is read, so the texts keep their places.
    for (const TAuthorSource& source : *authors) {
        TTreeNode& author = FTree.AddAuthor(source.Label);
        FObserver.AuthorAdded(author);
        for (const TTextSource& text : source.Texts) FObserver.TextAdded(FTree.AddText(author, text.Label, nullptr));
    }
    for (const TSetAsideEntry& entry : setAside) {
        if (entry.Text.empty()) {
            FObserver.AuthorAdded(FTree.AddAuthor(entry.Author, SetAsideNote(entry.Kind)));
            continue;
        }
        for (const auto& author : FTree.Authors())
            if (author->Label() == entry.Author)
                FObserver.TextAdded(FTree.AddText(*author, entry.Text, nullptr, SetAsideNote(entry.Kind)));
    }

    const TTreeNode& first = *FTree.Authors().front();
    if (!first.Texts().empty()) Select(first.Texts().front().get());
    return std::nullopt;
}

void TProject::New() {
    FTextView.SetReadOnly(false);
    {
        TFlagGuard updating(FUpdatingTree);
        FTextView.SetVisible(false);
        ClearTree();
        FShownEntry = nullptr;
    }
    AppendAuthor();
    TTreeNode& first = *FTree.Authors().front();
    FTree.SetLabel(first, std::u16string(kUnknownLabel));
    FObserver.LabelChanged(first);
    FTextView.SetLines({});
    FTextView.SetVisible(true);
}

void TProject::ClearTree() {
    FSelected = nullptr;
    FTree.Clear();
    FCandidatesChanged();
    FObserver.TreeCleared();
}

void TProject::AppendAuthor() {
    FTextView.SetReadOnly(false);
    FCandidatesChanged();
    // Numbered as if every author held one text: half the entries of the
    // tree, authors and texts together, so numbers may repeat or skip.
    const int32_t number = FTree.EntryCount() / 2;
    TTreeNode& author = FTree.AddAuthor(u"Author " + Decimal(number));
    FObserver.AuthorAdded(author);
    FTexts.push_back(std::make_unique<TInMemoryText>());
    TTreeNode& text = FTree.AddText(author, u"1", FTexts.back().get());
    FObserver.TextAdded(text);
    Select(&text);
}

void TProject::AddText() {
    // An author set aside is never calculated, so a text there would be lost.
    if (!FSelected || FSelected->Author()->IsSetAside()) return;
    FCandidatesChanged();
    FTexts.push_back(std::make_unique<TInMemoryText>());
    TTreeNode& author = *FSelected->Author();
    const auto number = static_cast<int64_t>(author.Texts().size()) + 1;
    TTreeNode& text = FTree.AddText(author, Decimal(number), FTexts.back().get());
    FObserver.TextAdded(text);
    Select(&text);
}

void TProject::SelectNode(TTreeNode* node) {
    FSelected = FTree.Contains(node) ? node : nullptr;
    SelectionChanged();
}

bool TProject::SetLabel(TTreeNode& node, std::u16string label) {
    if (!FTree.Contains(&node) || node.Label() == label) return false;
    FTree.SetLabel(node, std::move(label));
    FCandidatesChanged();
    return true;
}

void TProject::Select(TTreeNode* node) {
    FSelected = node;
    FObserver.SelectionSet(node);
    SelectionChanged();
}

void TProject::WriteBack() {
    if (FShownEntry && FShownEntry->Text()) FShownEntry->Text()->Lines = FTextView.Lines();
}

void TProject::SelectionChanged() {
    if (FUpdatingTree) return;
    WriteBack();
    if (!FSelected) return;
    if (FSelected->IsAuthor()) {
        // An author never stays selected while it has texts.
        if (!FSelected->Texts().empty()) Select(FSelected->Texts().front().get());
        return;
    }
    ShowText(*FSelected);
}

void TProject::ShowText(TTreeNode& text) {
    if (text.IsSetAside()) {
        // Never read: the tree says why.
        FShownEntry = &text;
        FTextView.SetLines({});
        return;
    }
    const std::filesystem::path path = ResolvePath(TextPath(text));
    if (!text.Text() && IsExistingFile(path)) {
        // Nothing is written back to a file's entry: the view may take its time.
        FTextView.ShowFile(path, FCodePage);
        FShownEntry = &text;
        return;
    }
    TLines lines;
    if (IsExistingFile(path))
        lines = ReadTextFile(path, FCodePage);
    else if (text.Text())
        lines = text.Text()->Lines;
    else
        throw TFileReadError(ToFsPath(TextPath(text)), std::strerror(ENOENT));
    // Only a text actually shown becomes the write-back target, so a failed
    // read never lets the previous text overwrite this entry's own.
    FShownEntry = &text;
    FTextView.SetLines(lines);
}

std::vector<TAuthorSource> TProject::RunSources() {
    std::vector<TAuthorSource> sources;
    for (const auto& author : FTree.Authors()) {
        // What the project sets aside is never read.
        if (author->IsSetAside()) continue;
        TAuthorSource source{author->Label(), {}};
        for (const auto& text : author->Texts()) {
            if (text->IsSetAside()) continue;
            TTextSource textSource{text->Label(), TextPath(*text), std::nullopt};
            if (text->Text()) {
                // Edits of the selected text not yet written back count.
                if (text.get() == FSelected) text->Text()->Lines = FTextView.Lines();
                textSource.Lines = text->Text()->Lines;
            }
            source.Texts.push_back(std::move(textSource));
        }
        sources.push_back(std::move(source));
    }
    return sources;
}

}  // namespace quillprint
