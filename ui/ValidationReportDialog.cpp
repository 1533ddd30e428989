#include "ui/ValidationReportDialog.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QGuiApplication>
#include <QClipboard>
#include <QMenu>
#include <QPushButton>
#include <QHeaderView>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/ConfusionMatrixView.h"
#include "ui/GridModel.h"
#include "ui/GridView.h"

namespace quillprint {

TValidationReportDialog::TValidationReportDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("ValidationReportDialog");
    setWindowTitle(tr("Validation"));
    auto* layout = new QVBoxLayout(this);

    FTable = new TGridView(this);
    FTable->setObjectName("sgValidation");
    // Rows are coloured by the true candidate's score, as in "Result".
    FModel = new TGridModel(
        FReport, [this](int32_t col, int32_t row) { return ResultCellColour(FReport, col, row); }, this);
    FTable->setModel(FModel);
    FTable->setSelectionMode(QAbstractItemView::ExtendedSelection);
    FTable->setFixedCellStyle(false, false);
    FTable->setColumnWidthKept(0, 160);
    FTable->setColumnWidthKept(1, 110);
    FTable->setColumnWidthKept(2, 200);
    FMatrix = new TConfusionMatrixView(this);
    // Many candidates make a large matrix: it scrolls, the dialog stays on screen.
    auto* matrixScroll = new QScrollArea(this);
    matrixScroll->setWidgetResizable(true);
    matrixScroll->setFrameShape(QFrame::NoFrame);
    matrixScroll->setWidget(FMatrix);
    auto* tableAndMatrix = new QHBoxLayout;
    tableAndMatrix->addWidget(FTable, 3);
    tableAndMatrix->addWidget(matrixScroll, 2);
    layout->addLayout(tableAndMatrix, 1);
    FReading = new QLabel(this);
    FReading->setObjectName("ValidationReading");
    FReading->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A reading of many candidates runs over several lines, never off-screen.
    FReading->setWordWrap(true);
    layout->addWidget(FReading);

    auto* copy = new QAction(tr("&Copy"), this);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(copy);
    connect(copy, &QAction::triggered, this, &TValidationReportDialog::copyReport);
    auto* save = new QAction(tr("&Save as…"), this);
    connect(save, &QAction::triggered, this, &TValidationReportDialog::saveRequested);
    auto* menu = new QMenu(this);
    menu->addAction(copy);
    menu->addAction(save);
    connect(FTable, &TGridView::contextMenuRequested, menu, [menu](const QPoint& globalPos) { menu->popup(globalPos); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(tr("C&lose"));
    FCopyButton = buttons->addButton(tr("&Copy"), QDialogButtonBox::ActionRole);
    connect(FCopyButton, &QPushButton::clicked, this, &TValidationReportDialog::copyReport);
    FSaveButton = buttons->addButton(tr("&Save as…"), QDialogButtonBox::ActionRole);
    connect(FSaveButton, &QPushButton::clicked, this, &TValidationReportDialog::saveRequested);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(fittedSize());
}

QSize TValidationReportDialog::fittedSize() const {
    // Room for the table's rows and the matrix, within most of the screen.
    const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect(0, 0, 1280, 800);
    const int rows = std::max(FModel->rowCount(), 3);
    const int width = std::clamp(700 + 24 * rows, 900, 1120);
    const int height = 200 + FTable->verticalHeader()->defaultSectionSize() * rows;
    return {std::min(width, screen.width() * 9 / 10), std::clamp(height, 400, screen.height() * 8 / 10)};
}

TValidationReportDialog::~TValidationReportDialog() {
    // The table lets go of the report before the report goes: the dialog's
    // own destruction still hides (and so repaints) the table.
    FTable->setModel(nullptr);
}

void TValidationReportDialog::setReport(const TValidationReport& report) {
    FReport = ValidationReportGrid(report);
    FModel->refresh();
    const TConfusionMatrix matrix = ConfusionMatrixOf(report);
    FMatrix->setConfusionMatrix(matrix);
    FReading->setText(QString::fromStdU16String(ConfusionReading(matrix)));
    // Sized for this report: a large one before leaves no huge window.
    resize(fittedSize());
}

void TValidationReportDialog::copyReport() {
    QGuiApplication::clipboard()->setText(QString::fromStdU16String(CopyGrid(FReport)));
}

}  // namespace quillprint
