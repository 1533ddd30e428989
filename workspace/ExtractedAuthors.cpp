// Chat participants added to the tree as new authors with in-memory texts.
#include <filesystem>

#include "workspace/ChatExport.h"
#include "workspace/Project.h"
#include "workspace/ProjectFolder.h"

namespace quillprint {

void TProject::AddExtractedAuthors(const TExtractionResult& extraction) {
    if (extraction.Participants.empty()) return;
    const std::u16string_view textLabel = extraction.ExportName;
    // The text to attribute, if one participant's lines are it (the last so marked).
    const TLines* unknownText = nullptr;
    for (const TExtractedParticipant& participant : extraction.Participants)
        if (participant.IsUnknownText) unknownText = &participant.Text;
    FTextView.SetReadOnly(false);
    FCandidatesChanged();

    // A label that matched an author already in the tree or a folder of the
    // project would share its texts' paths, and a file there would be shown
    // (and calculated) in place of the participant's lines; "Unknown" would
    // make the participant the text to attribute.
    TNameSet taken;
    taken.Add(std::u16string(kUnknownLabel));
    for (const auto& author : FTree.Authors()) taken.Add(author->Label());
    std::vector<std::u16string> folders;
    ListFolders(folders, FFolder);
    for (const auto& folder : folders) taken.Add(folder);

    TTreeNode* first = nullptr;
    for (const TExtractedParticipant& extracted : extraction.Participants) {
        if (extracted.IsUnknownText) continue;
        TTreeNode& author = FTree.AddAuthor(taken.Unique(extracted.Name));
        FObserver.AuthorAdded(author);
        FTexts.push_back(std::make_unique<TInMemoryText>(TInMemoryText{extracted.Text}));
        TTreeNode& text = FTree.AddText(author, std::u16string(textLabel), FTexts.back().get());
        FObserver.TextAdded(text);
        if (!first) first = &text;
    }

    if (unknownText) {
        TTreeNode* unknown = nullptr;
        for (const auto& author : FTree.Authors())
            if (author->Label() == kUnknownLabel) unknown = author.get();
        if (!unknown) {
            unknown = &FTree.AddAuthor(std::u16string(kUnknownLabel));
            FObserver.AuthorAdded(*unknown);
        }
        // The new text must not share its path with a text or file of "Unknown".
        TNameSet texts;
        for (const auto& text : unknown->Texts()) texts.Add(text->Label());
        std::u16string label = texts.Unique(textLabel, u"1");
        while (PathExists(FFolder + std::u16string(kUnknownLabel) + PathSeparator() + label))
            label = texts.Unique(textLabel, u"1");
        FTexts.push_back(std::make_unique<TInMemoryText>(TInMemoryText{*unknownText}));
        TTreeNode& text = FTree.AddText(*unknown, std::move(label), FTexts.back().get());
        FObserver.TextAdded(text);
        if (!first) first = &text;
    }
    Select(first);
}

}  // namespace quillprint
