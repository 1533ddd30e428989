// The author tree: author entries at the top, their text entries beneath.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "workspace/TextReader.h"

namespace quillprint {

// A text typed or pasted by the user. Owned by the workspace's FTexts, never
// by the tree.
struct TInMemoryText {
    TLines Lines;
};

// One entry of the tree. An author entry has no parent and holds text
// entries; a text entry has its author as parent and no children. A text
// entry without an in-memory text is file-backed: its content is the file
// FProjectDir + author label + separator + text label.
// Entries never move while they exist, so their addresses serve as stable
// handles for the window's tree items.
class TTreeNode {
public:
    bool IsAuthor() const { return FParent == nullptr; }
    const std::u16string& Label() const { return FLabel; }
    TTreeNode* Parent() const { return FParent; }
    // The author entry: itself, or the parent of a text entry.
    TTreeNode* Author() { return IsAuthor() ? this : FParent; }
    const std::vector<std::unique_ptr<TTreeNode>>& Texts() const { return FTexts; }
    // The in-memory text, or nullptr for a file-backed text entry.
    TInMemoryText* Text() const { return FText; }
    // An entry of the project folder that is shown but never read nor
    // calculated (a link leading out of the project, a pipe...), with what
    // the user is told about it; empty for every other entry.
    const std::u16string& Note() const { return FNote; }
    bool IsSetAside() const { return !FNote.empty(); }

private:
    friend class TAuthorTree;
    std::u16string FLabel;
    std::u16string FNote;
    TTreeNode* FParent = nullptr;
    TInMemoryText* FText = nullptr;
    std::vector<std::unique_ptr<TTreeNode>> FTexts;
};

class TAuthorTree {
public:
    const std::vector<std::unique_ptr<TTreeNode>>& Authors() const { return FAuthors; }
    bool Empty() const { return FAuthors.empty(); }
    // Author entries and text entries together.
    int32_t EntryCount() const;

    TTreeNode& AddAuthor(std::u16string label, std::u16string note = {});
    // `text` is nullptr for a file-backed entry.
    TTreeNode& AddText(TTreeNode& author, std::u16string label, TInMemoryText* text, std::u16string note = {});
    void SetLabel(TTreeNode& node, std::u16string label) { node.FLabel = std::move(label); }
    // Removes every entry, the last one first.
    void Clear();
    // True when `node` is an entry of this tree.
    bool Contains(const TTreeNode* node) const;

private:
    std::vector<std::unique_ptr<TTreeNode>> FAuthors;
};

}  // namespace quillprint
