#include "ui/AuthorTreeView.h"

#include <QHeaderView>

#include "workspace/AuthorTree.h"

namespace quillprint {

namespace {

constexpr int NodeRole = Qt::UserRole;

// Sets a flag for the lifetime of the guard.
class TFlagGuard {
public:
    explicit TFlagGuard(bool& flag) : FFlag(flag), FOld(flag) { FFlag = true; }
    ~TFlagGuard() { FFlag = FOld; }

private:
    bool& FFlag;
    bool FOld;
};

}  // namespace

TAuthorTreeView::TAuthorTreeView(QWidget* parent) : QTreeWidget(parent) {
    setObjectName("tvAuthors");
    setHeaderHidden(true);
    setColumnCount(1);
    setIndentation(19);
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // In-place label editing: a click on the selected entry, or F2.
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { onCurrentItemChanged(current); });
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int) {
        if (FMirroring) return;
        if (TTreeNode* node = nodeOf(item)) emit labelEdited(node, item->text(0));
    });
}

TTreeNode* TAuthorTreeView::nodeOf(const QTreeWidgetItem* item) {
    return item ? static_cast<TTreeNode*>(item->data(0, NodeRole).value<void*>()) : nullptr;
}

QTreeWidgetItem* TAuthorTreeView::makeItem(const TTreeNode& node) {
    auto* item = new QTreeWidgetItem;
    item->setText(0, QString::fromStdU16String(node.Label()));
    item->setData(0, NodeRole, QVariant::fromValue(static_cast<void*>(const_cast<TTreeNode*>(&node))));
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    FItems.insert(&node, item);
    return item;
}

void TAuthorTreeView::clearEntries() {
    TFlagGuard guard(FMirroring);
    FItems.clear();
    clear();
}

void TAuthorTreeView::addAuthor(const TTreeNode& author) {
    TFlagGuard guard(FMirroring);
    addTopLevelItem(makeItem(author));
}

void TAuthorTreeView::addText(const TTreeNode& text) {
    TFlagGuard guard(FMirroring);
    if (QTreeWidgetItem* author = itemFor(text.Parent())) author->addChild(makeItem(text));
}

void TAuthorTreeView::updateLabel(const TTreeNode& node) {
    TFlagGuard guard(FMirroring);
    if (QTreeWidgetItem* item = itemFor(&node)) item->setText(0, QString::fromStdU16String(node.Label()));
}

void TAuthorTreeView::selectNode(const TTreeNode* node) {
    TFlagGuard guard(FMirroring);
    QTreeWidgetItem* item = itemFor(node);
    setCurrentItem(item);
    if (!item) clearSelection();
    expandOnly(item);
}

void TAuthorTreeView::onCurrentItemChanged(QTreeWidgetItem* current) {
    if (FMirroring) return;
    expandOnly(current);
    emit nodeSelected(nodeOf(current));
}

void TAuthorTreeView::expandOnly(QTreeWidgetItem* item) {
    // The selected entry's author is expanded, every other author collapsed.
    QTreeWidgetItem* author = item && item->parent() ? item->parent() : item;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem* top = topLevelItem(i);
        top->setExpanded(top == author);
    }
}

}  // namespace quillprint
