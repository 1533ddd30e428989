#include "workspace/AuthorTree.h"

namespace quillprint {

int32_t TAuthorTree::EntryCount() const {
    int32_t count = 0;
    for (const auto& author : FAuthors) count += 1 + static_cast<int32_t>(author->Texts().size());
    return count;
}

TTreeNode& TAuthorTree::AddAuthor(std::u16string label, std::u16string note) {
    auto author = std::make_unique<TTreeNode>();
    author->FLabel = std::move(label);
    author->FNote = std::move(note);
    FAuthors.push_back(std::move(author));
    return *FAuthors.back();
}

TTreeNode& TAuthorTree::AddText(TTreeNode& author, std::u16string label, TInMemoryText* text, std::u16string note) {
    auto entry = std::make_unique<TTreeNode>();
    entry->FLabel = std::move(label);
    entry->FNote = std::move(note);
    entry->FParent = &author;
    entry->FText = text;
    author.FTexts.push_back(std::move(entry));
    return *author.FTexts.back();
}

void TAuthorTree::Clear() {
    while (!FAuthors.empty()) {
        auto& texts = FAuthors.back()->FTexts;
        while (!texts.empty()) texts.pop_back();
        FAuthors.pop_back();
    }
}

bool TAuthorTree::Contains(const TTreeNode* node) const {
    for (const auto& author : FAuthors) {
        if (author.get() == node) return true;
        for (const auto& text : author->Texts())
            if (text.get() == node) return true;
    }
    return false;
}

}  // namespace quillprint
