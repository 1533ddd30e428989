#include "ui/ExtractDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

namespace quillprint {

namespace {

constexpr int IsUnknownRole = Qt::UserRole;

// Draws the radio button of the column "This is the unknown text" from the
// item's data. Drawn rather than made of widgets, so a chat with thousands of
// participants still opens at once.
class TRadioDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        QStyleOptionButton radio;
        radio.state = QStyle::State_Enabled | (index.data(IsUnknownRole).toBool() ? QStyle::State_On : QStyle::State_Off);
        const QSize size(style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, widget),
                         style->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, nullptr, widget));
        radio.rect = QStyle::alignedRect(option.direction, Qt::AlignCenter, size, option.rect);
        style->drawPrimitive(QStyle::PE_IndicatorRadioButton, &radio, painter, widget);
    }
};

QString Trimmed(const QTableWidgetItem* item) { return item->text().trimmed(); }

}  // namespace

TExtractDialog::TExtractDialog(const std::vector<TChatParticipant>& participants, const QString& exportName,
                               QWidget* parent)
    : QDialog(parent), FParticipants(participants) {
    setObjectName("ExtractDialog");
    setWindowTitle(tr("Extract"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(tr("Participants of \"%1\". Each checked participant becomes a new author holding "
                                "its lines; you may edit the names. One participant can instead be the text to "
                                "attribute.")
                                 .arg(exportName),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    FTable = new QTableWidget(static_cast<int>(participants.size()), 4, this);
    FTable->setObjectName("tvParticipants");
    FTable->setHorizontalHeaderLabels({tr("Author"), tr("Entry"), tr("Lines"), tr("This is the unknown text")});
    FTable->verticalHeader()->hide();
    FTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    FTable->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::SelectedClicked);
    FTable->setItemDelegateForColumn(UnknownColumn, new TRadioDelegate(FTable));
    for (int row = 0; row < FTable->rowCount(); ++row) {
        const TChatParticipant& participant = participants[static_cast<size_t>(row)];
        auto* name = new QTableWidgetItem(QString::fromStdU16String(participant.Name));
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsUserCheckable);
        name->setCheckState(Qt::Checked);
        FTable->setItem(row, NameColumn, name);
        auto* entry = new QTableWidgetItem(QString::fromStdU16String(participant.Entry));
        entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        FTable->setItem(row, EntryColumn, entry);
        auto* lines = new QTableWidgetItem(QString::number(participant.Lines));
        lines->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        lines->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        FTable->setItem(row, LinesColumn, lines);
        auto* unknown = new QTableWidgetItem;
        unknown->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        unknown->setData(IsUnknownRole, false);
        unknown->setToolTip(tr("This is the unknown text"));
        FTable->setItem(row, UnknownColumn, unknown);
    }
    FTable->resizeColumnsToContents();
    FTable->horizontalHeader()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    layout->addWidget(FTable, 1);
    connect(FTable, &QTableWidget::itemChanged, this, &TExtractDialog::itemChanged);
    connect(FTable, &QTableWidget::cellClicked, this, [this](int row, int column) {
        if (column == UnknownColumn) setUnknownRow(row);
    });

    FNoUnknown = new QRadioButton(tr("&None of them: every checked participant is a candidate author"), this);
    FNoUnknown->setChecked(true);
    connect(FNoUnknown, &QRadioButton::clicked, this, [this] { setUnknownRow(-1); });
    layout->addWidget(FNoUnknown);

    FProblem = new QLabel(this);
    FProblem->setObjectName("lbProblem");
    FProblem->setWordWrap(true);
    layout->addWidget(FProblem);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    FOkButton = buttons->button(QDialogButtonBox::Ok);
    FOkButton->setText(tr("&OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("&Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(720, 420);
    updateOk();
}

void TExtractDialog::setUnknownRow(int row) {
    if (row < -1 || row >= FTable->rowCount()) return;
    const QSignalBlocker blocker(FTable);
    if (FUnknownRow >= 0) FTable->item(FUnknownRow, UnknownColumn)->setData(IsUnknownRole, false);
    FUnknownRow = row;
    if (row >= 0) {
        FTable->item(row, UnknownColumn)->setData(IsUnknownRole, true);
        FTable->item(row, NameColumn)->setCheckState(Qt::Checked);
    }
    FNoUnknown->setChecked(row < 0);
    FTable->viewport()->update();
    updateOk();
}

void TExtractDialog::itemChanged() {
    if (FUnknownRow >= 0 && FTable->item(FUnknownRow, NameColumn)->checkState() != Qt::Checked) setUnknownRow(-1);
    updateOk();
}

QString TExtractDialog::problem() const {
    QSet<QString> names;
    bool any = false;
    for (int row = 0; row < FTable->rowCount(); ++row) {
        const QTableWidgetItem* item = FTable->item(row, NameColumn);
        if (item->checkState() != Qt::Checked) continue;
        any = true;
        if (row == FUnknownRow) continue;  // its lines go to "Unknown", its name is not used
        const QString name = Trimmed(item);
        if (name.isEmpty()) return tr("Every checked participant needs a name.");
        if (name.compare(QStringLiteral("Unknown"), Qt::CaseInsensitive) == 0)
            return tr("No author can be named \"Unknown\": choose \"This is the unknown text\" instead.");
        const QString folded = name.toCaseFolded();
        if (names.contains(folded)) return tr("Two checked participants are named \"%1\".").arg(name);
        names.insert(folded);
    }
    return any ? QString() : tr("Check at least one participant.");
}

void TExtractDialog::updateOk() {
    const QString reason = problem();
    FProblem->setText(reason);
    FProblem->setVisible(!reason.isEmpty());
    FOkButton->setEnabled(reason.isEmpty());
}

std::vector<TParticipantChoice> TExtractDialog::choices() const {
    std::vector<TParticipantChoice> chosen;
    for (int row = 0; row < FTable->rowCount(); ++row) {
        const QTableWidgetItem* item = FTable->item(row, NameColumn);
        if (item->checkState() != Qt::Checked) continue;
        chosen.push_back({FParticipants[static_cast<size_t>(row)].Entry, Trimmed(item).toStdU16String(),
                          row == FUnknownRow});
    }
    return chosen;
}

}  // namespace quillprint
