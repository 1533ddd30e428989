#include "ui/AuthorTreeView.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScopedValueRollback>

#include "ui/ClippedToolTip.h"
#include "workspace/AuthorTree.h"

namespace quillprint {

namespace {

constexpr int NodeRole = Qt::UserRole;

}  // namespace

TAuthorTreeView::TAuthorTreeView(QWidget* parent) : QTreeWidget(parent) {
    setObjectName("tvAuthors");
    setHeaderHidden(true);
    setColumnCount(1);
    setIndentation(19);
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // A label cut off by the tree's width shows whole as a tooltip.
    setItemDelegate(new TClippedToolTipDelegate(this));
    setLabelsEditable(true);
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { onCurrentItemChanged(current); });
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int) {
        if (FMirroring) return;
        if (TTreeNode* node = nodeOf(item)) emit labelEdited(node, item->text(0));
    });
}

QMenu* TAuthorTreeView::contextMenuFor(QTreeWidgetItem* item) {
    if (!item) return nullptr;
    if (!FContextMenu) {
        FContextMenu = new QMenu(this);
        FContextMenu->setObjectName("treeContextMenu");
        QAction* rename = FContextMenu->addAction(tr("Rename"));
        connect(rename, &QAction::triggered, this, [this] {
            if (FContextItem && editTriggers() != QAbstractItemView::NoEditTriggers) editItem(FContextItem);
        });
    }
    FContextItem = item;
    FContextMenu->actions().first()->setEnabled(editTriggers() != QAbstractItemView::NoEditTriggers);
    return FContextMenu;
}

void TAuthorTreeView::contextMenuEvent(QContextMenuEvent* event) {
    if (QMenu* menu = contextMenuFor(itemAt(event->pos()))) menu->popup(event->globalPos());
}

QTreeWidgetItem* TAuthorTreeView::labelTarget() const {
    QTreeWidgetItem* current = currentItem();
    if (FLastClicked && current && current->parent() == FLastClicked) return FLastClicked;
    return current;
}

void TAuthorTreeView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F2 && event->modifiers() == Qt::NoModifier &&
        editTriggers() != QAbstractItemView::NoEditTriggers) {
        if (QTreeWidgetItem* item = labelTarget()) editItem(item);
        return;
    }
    // Moving by keyboard makes the selected entry the one F2 renames.
    FLastClicked = nullptr;
    QTreeWidget::keyPressEvent(event);
}

void TAuthorTreeView::mousePressEvent(QMouseEvent* event) {
    QTreeWidgetItem* item = itemAt(event->position().toPoint());
    // A slow second click on an author whose first text took the selection
    // edits the author's label (on the selected entry the view does it itself).
    if (event->button() == Qt::LeftButton && item && item == FLastClicked && item != currentItem() &&
        FLastClickTime.isValid() && FLastClickTime.elapsed() > QApplication::doubleClickInterval() &&
        editTriggers() != QAbstractItemView::NoEditTriggers) {
        FLastClickTime.invalidate();
        editItem(item);
        return;
    }
    QTreeWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) {
        FLastClicked = item;
        FLastClickTime.start();
    }
    highlightCurrent();
}

void TAuthorTreeView::mouseReleaseEvent(QMouseEvent* event) {
    QTreeWidget::mouseReleaseEvent(event);
    highlightCurrent();
}

void TAuthorTreeView::highlightCurrent() {
    QTreeWidgetItem* current = currentItem();
    if (!current || (current->isSelected() && selectedItems().size() == 1)) return;
    const QScopedValueRollback mirroring(FMirroring, true);
    setCurrentItem(current);
}

void TAuthorTreeView::setLabelsEditable(bool editable) {
    // In-place label editing: a click on the selected entry, or F2.
    setEditTriggers(editable ? QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed
                             : QAbstractItemView::NoEditTriggers);
}

QString TAuthorTreeView::shownLabel(const TTreeNode& node) {
    const QString label = QString::fromStdU16String(node.Label());
    if (!node.IsSetAside()) return label;
    return label + QStringLiteral(" (") + QString::fromStdU16String(node.Note()) + QLatin1Char(')');
}

TTreeNode* TAuthorTreeView::nodeOf(const QTreeWidgetItem* item) {
    return item ? static_cast<TTreeNode*>(item->data(0, NodeRole).value<void*>()) : nullptr;
}

QTreeWidgetItem* TAuthorTreeView::makeItem(const TTreeNode& node) {
    auto* item = new QTreeWidgetItem;
    item->setText(0, shownLabel(node));
    item->setData(0, NodeRole, QVariant::fromValue(static_cast<void*>(const_cast<TTreeNode*>(&node))));
    if (node.IsSetAside()) {
        // Shown, greyed, with why it is never read; its label is the name
        // on disk, so it is not renamed.
        item->setForeground(0, palette().brush(QPalette::Disabled, QPalette::Text));
        item->setToolTip(0, QString::fromStdU16String(node.Note()));
    } else {
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    FItems.insert(&node, item);
    return item;
}

void TAuthorTreeView::clearEntries() {
    const QScopedValueRollback mirroring(FMirroring, true);
    FLastClicked = nullptr;
    FContextItem = nullptr;
    FItems.clear();
    clear();
}

void TAuthorTreeView::addAuthor(const TTreeNode& author) {
    const QScopedValueRollback mirroring(FMirroring, true);
    addTopLevelItem(makeItem(author));
}

void TAuthorTreeView::addText(const TTreeNode& text) {
    const QScopedValueRollback mirroring(FMirroring, true);
    if (QTreeWidgetItem* author = itemFor(text.Parent())) author->addChild(makeItem(text));
}

void TAuthorTreeView::updateLabel(const TTreeNode& node) {
    const QScopedValueRollback mirroring(FMirroring, true);
    if (QTreeWidgetItem* item = itemFor(&node)) item->setText(0, shownLabel(node));
}

void TAuthorTreeView::selectNode(const TTreeNode* node) {
    const QScopedValueRollback mirroring(FMirroring, true);
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
