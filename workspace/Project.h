// The project the user works on: its folder, the tree of authors and texts,
// the texts held only in memory and the entry shown in the text view.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "workspace/AuthorTree.h"
#include "workspace/ExtractionResult.h"
#include "workspace/RunRequest.h"
#include "workspace/WorkspaceViews.h"

namespace quillprint {

class TProject {
public:
    // `codePage` reads files without a byte-order mark. `candidatesChanged`
    // is called before every change of the entries, labels or texts that a
    // run would read. The views must outlive the project.
    TProject(std::string codePage, TTextView& textView, TWorkspaceObserver& observer,
             std::function<void()> candidatesChanged);
    TProject(const TProject&) = delete;
    TProject& operator=(const TProject&) = delete;

    // The folder, ending with a separator.
    const std::u16string& Folder() const { return FFolder; }
    const TAuthorTree& Tree() const { return FTree; }
    TTreeNode* Selected() const { return FSelected; }
    // The text entry whose lines the text view shows (edits go back to it).
    const TTreeNode* ShownEntry() const { return FShownEntry; }
    // The tree is being emptied: selection changes are not the user's.
    bool UpdatingTree() const { return FUpdatingTree; }
    const std::vector<std::unique_ptr<TInMemoryText>>& Texts() const { return FTexts; }
    const std::string& CodePage() const { return FCodePage; }
    // The file path of a file-backed text entry (labels joined to the folder).
    std::u16string TextPath(const TTreeNode& text) const;
    // Texts kept only in memory (typed, pasted, dropped or extracted) that
    // hold anything: "New" or opening a project would lose them.
    bool HasTypedTexts() const;

    // Empties the tree and the text view (read-only until something is
    // added); `folder` becomes the project's folder.
    void Close(std::u16string folder);
    // Reads the folder into the emptied tree and shows its first text. What
    // makes it no project, when it is none (the tree stays empty). Throws
    // TFolderReadError for a folder that cannot be listed, leaving no
    // half-read tree.
    std::optional<std::u16string> Read(bool followLinks);
    // A new project without a folder: "Unknown" holding one empty text.
    void New();
    // An author holding one empty text, selected.
    void AppendAuthor();
    // An empty text for the selected entry's author, selected; nothing for an
    // author set aside.
    void AddText();
    // The user selected `node` (nullptr: none, or one not in the tree).
    void SelectNode(TTreeNode* node);
    // The user renamed `node`; false when nothing changed.
    bool SetLabel(TTreeNode& node, std::u16string label);
    // Text files dropped on `author` become in-memory texts of it, labelled
    // with their file names; the first is selected. Every file is read
    // before the tree changes: one that cannot be read throws and adds
    // nothing. See DroppedTexts.cpp.
    void AddTextFiles(TTreeNode& author, const std::vector<std::u16string>& paths);
    // The participants of a chat extraction become new authors each holding
    // one text labelled with the export's name; the one whose lines are the
    // text to attribute, a new text of "Unknown". The first new text is
    // selected. See ExtractedAuthors.cpp.
    void AddExtractedAuthors(const TExtractionResult& extraction);
    // What a run reads: the entries not set aside, in tree order; the shown
    // in-memory text with the text view's lines.
    std::vector<TAuthorSource> RunSources();

private:
    void ClearTree();
    void Select(TTreeNode* node);
    void SelectionChanged();
    // The text view's lines go back to the in-memory text they show.
    void WriteBack();
    void ShowText(TTreeNode& text);

    std::string FCodePage;
    TTextView& FTextView;
    TWorkspaceObserver& FObserver;
    std::function<void()> FCandidatesChanged;

    std::u16string FFolder;
    std::vector<std::unique_ptr<TInMemoryText>> FTexts;
    TAuthorTree FTree;
    TTreeNode* FSelected = nullptr;
    TTreeNode* FShownEntry = nullptr;
    bool FUpdatingTree = false;
};

}  // namespace quillprint
