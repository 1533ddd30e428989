#include "ui/CopiedPassagesDialog.h"

#include <QAction>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/GridModel.h"
#include "ui/GridView.h"

namespace quillprint {

TCopiedPassagesDialog::TCopiedPassagesDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("CopiedPassagesDialog");
    setWindowTitle(tr("Copied passages"));
    auto* layout = new QVBoxLayout(this);
    FSummary = new QLabel(this);
    FSummary->setWordWrap(true);
    layout->addWidget(FSummary);

    FTable = new TGridView(this);
    FTable->setObjectName("sgCopies");
    FModel = new TGridModel(FGrid, [](int32_t, int32_t) { return TScoreColour::Ordinary; }, this);
    FTable->setModel(FModel);
    FTable->setSelectionMode(QAbstractItemView::SingleSelection);
    FTable->setFixedCellStyle(false, false);
    FTable->setColumnWidthKept(0, 140);
    FTable->setColumnWidthKept(1, 140);
    FTable->setColumnWidthKept(2, 60);
    FTable->setColumnWidthKept(3, 140);
    FTable->setColumnWidthKept(4, 60);
    FTable->setColumnWidthKept(5, 70);
    FTable->setColumnWidthKept(6, 360);
    layout->addWidget(FTable);
    connect(FTable->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                // The model shows the grid's header row as its header.
                if (current.isValid() && current.row() < static_cast<int>(FRows.size()))
                    emit passageChosen(current.row());
            });

    auto* copy = new QAction(tr("&Copy"), this);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(copy);
    connect(copy, &QAction::triggered, this, &TCopiedPassagesDialog::copyTable);
    auto* menu = new QMenu(this);
    menu->addAction(copy);
    connect(FTable, &TGridView::contextMenuRequested, menu, [menu](const QPoint& globalPos) { menu->popup(globalPos); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(tr("C&lose"));
    QPushButton* copyButton = buttons->addButton(tr("&Copy"), QDialogButtonBox::ActionRole);
    connect(copyButton, &QPushButton::clicked, this, &TCopiedPassagesDialog::copyTable);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(1000, 360);
}

TCopiedPassagesDialog::~TCopiedPassagesDialog() {
    // The table lets go of the grid before the grid goes.
    FTable->setModel(nullptr);
}

void TCopiedPassagesDialog::setPassages(std::vector<TCopyRow> rows, int32_t minWords) {
    FRows = std::move(rows);
    FGrid = CopiesGrid(FRows);
    FModel->refresh();
    if (FRows.empty())
        FSummary->setText(tr("The unknown text shares no passage of %1 words or more with a candidate.").arg(minWords));
    else
        FSummary->setText(tr("%1 of %2 words or more that the unknown text shares word for word with a candidate. "
                             "Choose one to see it in the unknown text.")
                              .arg(FRows.size() == 1 ? tr("One passage") : tr("%1 passages").arg(FRows.size()))
                              .arg(minWords));
}

void TCopiedPassagesDialog::copyTable() {
    QGuiApplication::clipboard()->setText(QString::fromStdU16String(CopyGrid(FGrid)));
}

}  // namespace quillprint
