#include "ui/CrossValidationDialog.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QVBoxLayout>

#include "ui/ConfusionMatrixView.h"
#include "ui/GridModel.h"
#include "ui/GridView.h"
#include "workspace/ChartData.h"
#include "workspace/CrossValidationTables.h"

namespace quillprint {

TConfusionMatrix ConfusionMatrixOf(const TCrossValidation& validation) {
    TConfusionMatrix matrix;
    matrix.Names = validation.Names;
    matrix.Counts = validation.Confusion();
    matrix.Tested.assign(validation.Names.size(), false);
    for (const TCrossCheck& check : validation.Checks) matrix.Tested[static_cast<size_t>(check.Truth)] = true;
    matrix.TestedCount = static_cast<int32_t>(validation.Checks.size());
    matrix.RecognisedCount = validation.Right();
    return matrix;
}

TCrossValidationDialog::TCrossValidationDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("CrossValidationDialog");
    setWindowTitle(tr("Cross-validation"));
    auto* layout = new QVBoxLayout(this);

    auto* settings = new QHBoxLayout;
    auto* excerptLabel = new QLabel(tr("Hold out &excerpts of"), this);
    settings->addWidget(excerptLabel);
    FExcerpt = new QSpinBox(this);
    excerptLabel->setBuddy(FExcerpt);
    FExcerpt->setObjectName("CrossValidationExcerpt");
    FExcerpt->setRange(0, 10'000'000);
    FExcerpt->setSingleStep(500);
    FExcerpt->setSpecialValueText(tr("whole texts"));
    FExcerpt->setSuffix(tr(" words"));
    FExcerpt->setValue(1000);
    settings->addWidget(FExcerpt);
    FAsDisputed = new QCheckBox(tr("as long as the &disputed text"), this);
    FAsDisputed->setObjectName("CrossValidationAsDisputed");
    FAsDisputed->setChecked(true);
    FExcerpt->setEnabled(false);
    connect(FAsDisputed, &QCheckBox::toggled, FExcerpt, [this](bool on) { FExcerpt->setEnabled(!on); });
    settings->addWidget(FAsDisputed);
    settings->addStretch(1);
    FRunButton = new QPushButton(tr("&Run checks"), this);
    FRunButton->setObjectName("CrossValidationRun");
    connect(FRunButton, &QPushButton::clicked, this, &TCrossValidationDialog::runRequested);
    settings->addWidget(FRunButton);
    layout->addLayout(settings);

    FFigures = new QLabel(tr("Press \"Run checks\": each known text is held out in turn and attributed "
                             "against the rest."),
                          this);
    FFigures->setObjectName("CrossValidationFigures");
    FFigures->setTextInteractionFlags(Qt::TextSelectableByMouse);
    FFigures->setWordWrap(true);
    layout->addWidget(FFigures);

    auto makeTable = [this](const char* name, TGrid& grid, TGridModel*& model) {
        auto* table = new TGridView(this);
        table->setObjectName(name);
        model = new TGridModel(grid, {}, this);
        table->setModel(model);
        table->setSelectionMode(QAbstractItemView::ExtendedSelection);
        table->setFixedCellStyle(false, false);
        return table;
    };
    FCandidatesTable = makeTable("sgCrossValidationCandidates", FCandidates, FCandidatesModel);
    FChecksTable = makeTable("sgCrossValidationChecks", FChecks, FChecksModel);
    FChecksTable->setColumnWidthKept(0, 180);
    FMatrix = new TConfusionMatrixView(this);
    auto* top = new QSplitter(Qt::Horizontal, this);
    top->addWidget(FCandidatesTable);
    top->addWidget(FMatrix);
    auto* parts = new QSplitter(Qt::Vertical, this);
    parts->addWidget(top);
    parts->addWidget(FChecksTable);
    layout->addWidget(parts, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(tr("C&lose"));
    auto* copy = buttons->addButton(tr("&Copy"), QDialogButtonBox::ActionRole);
    connect(copy, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(QString::fromStdU16String(CopyGrid(FChecks))); });
    auto* save = buttons->addButton(tr("&Save as…"), QDialogButtonBox::ActionRole);
    connect(save, &QPushButton::clicked, this, &TCrossValidationDialog::saveRequested);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(1120, 640);
}

TCrossValidationDialog::~TCrossValidationDialog() {
    // The tables let go of their grids before the grids go.
    FCandidatesTable->setModel(nullptr);
    FChecksTable->setModel(nullptr);
}

std::optional<int64_t> TCrossValidationDialog::excerptWords() const {
    if (FAsDisputed->isChecked()) return std::nullopt;
    return FExcerpt->value();
}

void TCrossValidationDialog::setExcerptWords(std::optional<int64_t> words) {
    FAsDisputed->setChecked(!words);
    if (words) FExcerpt->setValue(static_cast<int>(std::min<int64_t>(*words, FExcerpt->maximum())));
}

void TCrossValidationDialog::setValidation(const TCrossValidation& validation) {
    const TGrid figures = CrossValidationFiguresGrid(validation);
    QStringList lines;
    for (int32_t row = 0; row < figures.RowCount(); ++row)
        lines.append(QStringLiteral("%1: %2").arg(QString::fromStdU16String(figures.Cell(0, row)),
                                                  QString::fromStdU16String(figures.Cell(1, row))));
    FFigures->setText(lines.join(QStringLiteral("   ")));
    FCandidates = CandidateFiguresGrid(validation);
    FChecks = CrossChecksGrid(validation);
    FCandidatesModel->refresh();
    FChecksModel->refresh();
    FMatrix->setConfusionMatrix(ConfusionMatrixOf(validation));
}

}  // namespace quillprint
