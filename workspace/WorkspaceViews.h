// What the workspace asks of the window. The window implements these; tests
// use fakes. All calls are synchronous, on the calling thread.
#pragma once

#include <cstdint>
#include <string>

#include "workspace/TextReader.h"

namespace quillprint {

class TTreeNode;

// The view that shows and edits the selected text.
class TTextView {
public:
    virtual ~TTextView() = default;
    virtual TLines Lines() const = 0;
    virtual void SetLines(const TLines& lines) = 0;
    // Shows the text file `path`, read by the text reading rule (`codePage`
    // for a file without a byte-order mark). Read at once by default; a file
    // that cannot be read throws TFileReadError. A view may instead read it
    // later, off the calling thread, and report a failure itself.
    virtual void ShowFile(const std::filesystem::path& path, const std::string& codePage) {
        SetLines(ReadTextFile(path, codePage));
    }
    virtual void SetReadOnly(bool readOnly) = 0;
    virtual void SetVisible(bool visible) = 0;
};

// Messages to the user.
class TMessageSink {
public:
    virtual ~TMessageSink() = default;
    // A modal message box with a fixed text, such as
    // "Please add "Unknown" folder for analysis".
    virtual void ShowMessage(const std::u16string& text) = 0;
    // The application's general error box, with an error's text.
    virtual void ShowError(const std::u16string& text) = 0;
};

// The tab pages the workspace brings to the front.
// "Texts" lists the disputed texts of a run with "Each text".
enum class TPage { InputData, Analysis, Result, Stylometry, Texts };

// How a calculation ended.
enum class TRunEndState { Finished, Cancelled, Failed };

// Changes of the model the window mirrors. Every method does nothing by
// default. The window must not report a selection made through SelectionSet
// back to the workspace (block its widget's signal while mirroring it).
class TWorkspaceObserver {
public:
    virtual ~TWorkspaceObserver() = default;
    // Every entry of the tree is gone.
    virtual void TreeCleared() {}
    // An author entry was appended at the end of the top level.
    virtual void AuthorAdded(const TTreeNode& /*author*/) {}
    // A text entry was appended at the end of its author's entries.
    virtual void TextAdded(const TTreeNode& /*text*/) {}
    // The workspace changed a label (not called for the user's own edits).
    virtual void LabelChanged(const TTreeNode& /*node*/) {}
    // The selection moved to `node` (nullptr: nothing selected).
    virtual void SelectionSet(const TTreeNode* /*node*/) {}
    virtual void PageToFront(TPage /*page*/) {}
    // The tables or the author chooser changed: redraw them.
    virtual void GridsChanged() {}
    // A calculation began: until RunEnded the project must not change and no
    // other run may start.
    virtual void RunStarted() {}
    // The calculation ended; after Finished its results are shown.
    virtual void RunEnded(TRunEndState /*state*/) {}
    // A long command ("Validation") has done `done` of its `total` steps.
    virtual void Progress(int32_t /*done*/, int32_t /*total*/) {}
};

}  // namespace quillprint
