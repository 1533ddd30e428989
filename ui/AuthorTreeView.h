// The tree widget tvAuthors: mirrors the workspace's author tree and reports
// the user's selections and label edits. Changes made by the program are
// never reported back.
#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QTreeWidget>

class QMenu;

namespace quillprint {

class TTreeNode;

class TAuthorTreeView : public QTreeWidget {
    Q_OBJECT
public:
    explicit TAuthorTreeView(QWidget* parent = nullptr);

    // Mirroring the model.
    void clearEntries();
    void addAuthor(const TTreeNode& author);
    void addText(const TTreeNode& text);
    void updateLabel(const TTreeNode& node);
    void selectNode(const TTreeNode* node);
    // Off while a calculation runs: the labels stay as the run read them.
    void setLabelsEditable(bool editable);

    // The context menu for `item` (its entry "Rename" edits that label).
    QMenu* contextMenuFor(QTreeWidgetItem* item);
    QTreeWidgetItem* itemFor(const TTreeNode* node) const { return FItems.value(node); }
    static TTreeNode* nodeOf(const QTreeWidgetItem* item);
    // The label as the tree shows it: an entry set aside carries its note,
    // "notes.txt (link outside the project, not followed)".
    static QString shownLabel(const TTreeNode& node);

signals:
    void nodeSelected(TTreeNode* node);
    void labelEdited(TTreeNode* node, const QString& label);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // The label F2 edits: the author the user last clicked when the
    // selection moved on to its first text, else the selected entry.
    QTreeWidgetItem* labelTarget() const;
    // The view may highlight another row than the current one when clicking
    // an author expands it under the mouse; the current entry is the truth.
    void highlightCurrent();
    QTreeWidgetItem* makeItem(const TTreeNode& node);
    void onCurrentItemChanged(QTreeWidgetItem* current);
    void expandOnly(QTreeWidgetItem* item);

    QHash<const TTreeNode*, QTreeWidgetItem*> FItems;
    bool FMirroring = false;
    QTreeWidgetItem* FLastClicked = nullptr;
    QElapsedTimer FLastClickTime;
    QMenu* FContextMenu = nullptr;
    QTreeWidgetItem* FContextItem = nullptr;
};

}  // namespace quillprint
