#include "ui/QuickAccessCustomizeDialog.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/QuickAccessToolbar.h"

namespace quillprint {

namespace {

constexpr int CommandIndexRole = Qt::UserRole;

// A list whose drags carry the command's name, which the toolbar understands.
class TCommandListWidget : public QListWidget {
public:
    TCommandListWidget(const QList<QAction*>& commands, QWidget* parent)
        : QListWidget(parent), FCommands(commands) {}

protected:
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override {
        if (items.isEmpty()) return nullptr;
        const int index = items.first()->data(CommandIndexRole).toInt();
        auto* mime = new QMimeData;
        mime->setData(TQuickAccessToolbar::CommandMimeType, FCommands.at(index)->objectName().toUtf8());
        return mime;
    }
    QStringList mimeTypes() const override { return {TQuickAccessToolbar::CommandMimeType}; }

private:
    QList<QAction*> FCommands;
};

}  // namespace

TQuickAccessCustomizeDialog::TQuickAccessCustomizeDialog(const QList<QAction*>& commands,
                                                         TQuickAccessToolbar* toolbar, QWidget* parent)
    : QDialog(parent), FCommands(commands), FToolbar(toolbar) {
    setObjectName("quickAccessCustomizeDialog");
    setWindowTitle(tr("Customize"));

    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(tr("&Commands:"), this);
    layout->addWidget(label);

    FList = new TCommandListWidget(commands, this);
    FList->setObjectName("commandList");
    FList->setDragEnabled(true);
    FList->setDragDropMode(QAbstractItemView::DragOnly);
    FList->setIconSize(QSize(16, 16));
    for (int i = 0; i < commands.size(); ++i) {
        auto* item = new QListWidgetItem(commands.at(i)->icon(), commands.at(i)->iconText(), FList);
        item->setData(CommandIndexRole, i);
    }
    label->setBuddy(FList);
    layout->addWidget(FList);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(tr("C&lose"));
    FAddButton = buttons->addButton(tr("&Add to Quick Access Toolbar"), QDialogButtonBox::ActionRole);
    FAddButton->setObjectName("addButton");
    layout->addWidget(buttons);

    connect(FAddButton, &QPushButton::clicked, this, &TQuickAccessCustomizeDialog::addSelected);
    connect(FList, &QListWidget::itemDoubleClicked, this, &TQuickAccessCustomizeDialog::addSelected);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(280, 360);
}

void TQuickAccessCustomizeDialog::addSelected() {
    for (QListWidgetItem* item : FList->selectedItems())
        FToolbar->addCommand(FCommands.at(item->data(CommandIndexRole).toInt()));
}

}  // namespace quillprint
