#include "ui/ValidationReportDialog.h"

#include <QAction>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/ConfusionMatrixView.h"
#include "ui/GridModel.h"
#include "ui/GridView.h"

namespace quillprint {

namespace {

// The table's columns: the names, and the lines held back, score and rank.
constexpr int kAuthorColumn = 0;
constexpr int kRankedFirstColumn = 2;
constexpr int kNumberColumns[] = {1, 3, 4};

}  // namespace

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

QRect TValidationReportDialog::screenArea() const {
    return screen() ? screen()->availableGeometry() : QRect(0, 0, 1280, 800);
}

int TValidationReportDialog::tableWidth() const {
    int width = 2 * FTable->frameWidth() + FTable->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (int column = 0; column < FModel->columnCount(); ++column) width += FTable->columnWidth(column);
    return width;
}

QSize TValidationReportDialog::fittedSize() const {
    // Room for the table's columns and rows and for the matrix, within most
    // of the screen; the matrix scrolls what does not fit.
    const QRect screen = screenArea();
    const int rows = std::max(FModel->rowCount(), 3);
    const QMargins margins = layout()->contentsMargins();
    const int matrix = std::clamp(FMatrix->sizeHint().width(), 240, 480);
    const int width = margins.left() + tableWidth() + layout()->spacing() + matrix + margins.right();
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
    // Columns as wide as their numbers and names, the two columns of names
    // sharing what the numbers leave of seven tenths of the screen; the
    // table keeps room for all of them, the matrix beside it takes the rest.
    const int most = screenArea().width() * 7 / 10;
    for (const int column : kNumberColumns) FTable->fitColumnToContents(column, kWidestFittedColumn);
    const int forNames =
        most - tableWidth() + FTable->columnWidth(kAuthorColumn) + FTable->columnWidth(kRankedFirstColumn);
    for (const int column : {kAuthorColumn, kRankedFirstColumn})
        FTable->fitColumnToContents(column, std::min(kWidestFittedColumn, forNames / 2));
    FTable->setMinimumWidth(std::min(tableWidth(), most));
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
