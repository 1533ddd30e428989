// Text files the user drops on an author: read by the text reading rule and
// added to that author as in-memory texts. The files are neither copied nor
// written.
#include <filesystem>

#include "engine/Text.h"
#include "workspace/ChatExport.h"
#include "workspace/Project.h"
#include "workspace/ProjectFolder.h"

namespace quillprint {

void TProject::AddTextFiles(TTreeNode& author, const std::vector<std::u16string>& paths) {
    if (paths.empty() || !FTree.Contains(&author) || !author.IsAuthor()) return;
    // Every file is read before the tree changes: one that cannot be read
    // adds nothing.
    std::vector<TLines> contents;
    contents.reserve(paths.size());
    for (const std::u16string& path : paths) contents.push_back(ReadTextFile(ToFsPath(path), FCodePage));

    FTextView.SetReadOnly(false);
    FCandidatesChanged();
    // A label shared with a text of the author, or with a file of its
    // folder, would show (and calculate) that text instead.
    TNameSet taken;
    for (const auto& text : author.Texts()) taken.Add(text->Label());
    const std::u16string folder = FFolder + author.Label() + PathSeparator();
    TTreeNode* first = nullptr;
    for (size_t i = 0; i < paths.size(); ++i) {
        const std::u16string name = FromFsPath(ToFsPath(paths[i]).filename());
        std::u16string label = taken.Unique(name, u"Text");
        while (PathExists(folder + label)) label = taken.Unique(name, u"Text");
        FTexts.push_back(std::make_unique<TInMemoryText>(TInMemoryText{std::move(contents[i])}));
        TTreeNode& text = FTree.AddText(author, std::move(label), FTexts.back().get());
        FObserver.TextAdded(text);
        if (!first) first = &text;
    }
    Select(first);
}

}  // namespace quillprint
