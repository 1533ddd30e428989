// The tree widget tvAuthors: mirrors the workspace's author tree and reports
// the user's selections and label edits. Changes made by the program are
// never reported back.
#pragma once

#include <QHash>
#include <QTreeWidget>

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

    QTreeWidgetItem* itemFor(const TTreeNode* node) const { return FItems.value(node); }
    static TTreeNode* nodeOf(const QTreeWidgetItem* item);

signals:
    void nodeSelected(TTreeNode* node);
    void labelEdited(TTreeNode* node, const QString& label);

private:
    QTreeWidgetItem* makeItem(const TTreeNode& node);
    void onCurrentItemChanged(QTreeWidgetItem* current);
    void expandOnly(QTreeWidgetItem* item);

    QHash<const TTreeNode*, QTreeWidgetItem*> FItems;
    bool FMirroring = false;
};

}  // namespace quillprint
