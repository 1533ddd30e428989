// "Input data": the author tree beside the text of the entry selected, and
// above the text a band that warns of a file that is no text. The page owns
// the tree, the text view and its adapter for the workspace; the window
// mirrors the workspace's tree into it and hears the user's choices back.
#pragma once

#include <QWidget>
#include <memory>

#include "ui/ProjectDrops.h"

class QLabel;
class QPlainTextEdit;
class QSplitter;

namespace quillprint {

class TAuthorTreeView;
class TMemoTextView;
class TTreeNode;
struct TTextPlace;

class TInputPage : public QWidget {
    Q_OBJECT
public:
    explicit TInputPage(QWidget* parent = nullptr);
    ~TInputPage() override;

    // The text view as the workspace sees it.
    TMemoTextView& textView() const { return *FTextView; }

    // Mirroring the workspace's author tree.
    void clearTree();
    void addAuthor(const TTreeNode& author);
    void addText(const TTreeNode& text);
    void updateLabel(const TTreeNode& node);
    void selectNode(const TTreeNode* node);

    // The band above the text view, for a selected file that looks binary.
    void showBinaryWarning(bool shown);
    // Marks the lines from `place` to `end` of the text shown and scrolls to them.
    void selectPassage(const TTextPlace& place, const TTextPlace& end);
    // While a calculation runs the labels and the text stay as the run read
    // them; afterwards the text is as editable as it was before.
    void setCalculationRunning(bool running);
    // Folders dropped on `window`, the tree or the text view, and files
    // dropped on an author of the tree, go to `hooks`.
    void acceptDrops(QWidget& window, TProjectDrops::THooks hooks);

signals:
    // The user selected `node` in the tree (the passage marked before is gone).
    void nodeSelected(TTreeNode* node);
    // The user gave `node` the label `label`.
    void labelEdited(TTreeNode* node, const QString& label);
    // A file read in the background for the text view could not be read.
    void readFailed(const QString& error);

private:
    QSplitter* FSplitter = nullptr;
    TAuthorTreeView* FTree = nullptr;
    QLabel* FBinaryBand = nullptr;
    QPlainTextEdit* FText = nullptr;
    std::unique_ptr<TMemoTextView> FTextView;
    bool FTextWasReadOnly = false;
};

}  // namespace quillprint
