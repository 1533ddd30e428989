#include "ui/TablePage.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "ui/GridView.h"

namespace quillprint {

namespace {

QLabel* NewBand(const char* name, QWidget* parent) {
    auto* band = new QLabel(parent);
    band->setObjectName(QString::fromLatin1(name));
    band->setContentsMargins(6, 3, 6, 3);
    // One line high at any window size; a long text never widens the window.
    band->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    band->setVisible(false);
    return band;
}

}  // namespace

TTablePage::TTablePage(const char* pageName, const char* tableName, QWidget* parent) : QWidget(parent) {
    setObjectName(QString::fromLatin1(pageName));
    FLayout = new QVBoxLayout(this);
    FLayout->setContentsMargins(0, 0, 0, 0);
    FLayout->setSpacing(0);
    FShownTextBand = NewBand("shownTextBand", this);
    FLayout->addWidget(FShownTextBand);
    // Says that the table is not the result of the project as it stands.
    FOutOfDateBand = NewBand("outOfDateBand", this);
    FOutOfDateBand->setStyleSheet("background: #fff1b8; color: #5c4400;");
    FLayout->addWidget(FOutOfDateBand);
    FView = new TGridView(this);
    FView->setObjectName(QString::fromLatin1(tableName));
    FLayout->addWidget(FView);
    connect(FView, &TGridView::contextMenuRequested, this, &TTablePage::contextMenuRequested);
}

void TTablePage::showTable(const TGrid& grid, TGridModel::TColourRule colour) {
    FModel = new TGridModel(grid, std::move(colour), this);
    FView->setModel(FModel);
    for (const auto& [column, width] : FStartWidths) FView->setColumnWidthKept(column, width);
    tableShown();
}

void TTablePage::releaseTable() {
    FView->setModel(nullptr);
    delete FModel;
    FModel = nullptr;
}

void TTablePage::refresh() {
    if (FModel) FModel->refresh();
}

void TTablePage::showBands(const QString& shownText, const QString& outOfDate) {
    FShownTextBand->setText(tr("Text: %1").arg(shownText));
    FShownTextBand->setVisible(!shownText.isEmpty());
    FOutOfDateBand->setText(outOfDate);
    FOutOfDateBand->setVisible(!outOfDate.isEmpty());
}

void TTablePage::addBand(QWidget* band) { FLayout->insertWidget(FLayout->indexOf(FView), band); }

void TTablePage::addBelow(QWidget* band) { FLayout->addWidget(band); }

void TTablePage::replaceView(QWidget* container) {
    FLayout->insertWidget(FLayout->indexOf(FView), container);
    FLayout->removeWidget(FView);
}

TAnalysisPage::TAnalysisPage(QWidget* parent) : TTablePage("tbAnalysis", "sgAnalysis", parent) {
    view().setSelectionMode(QAbstractItemView::ExtendedSelection);
    view().setFixedCellStyle(true, true);
    startColumnWidth(0, 450);
}

void TAnalysisPage::tableShown() {
    // The best candidate's score is captioned in bold of the page's font.
    model().setHeaderFont(font());
}

void TAnalysisPage::refresh() {
    TTablePage::refresh();
    for (int column = 1; column < model().columnCount(); ++column) view().fitColumnToContents(column, kWidestFittedColumn);
}

// The chooser: the user only picks, and typing a letter opens the list.
class TStylometryPage::TChooser : public QComboBox {
public:
    using QComboBox::QComboBox;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (!event->text().isEmpty() && event->text().at(0).isLetterOrNumber()) {
            showPopup();
            return;
        }
        QComboBox::keyPressEvent(event);
    }
};

TStylometryPage::TStylometryPage(QWidget* parent) : TTablePage("tbStylometry", "sgStylometry", parent) {
    // The chooser sits 3 from the left and 5 from the top; the table starts 40 down.
    auto* chooserBand = new QWidget(this);
    chooserBand->setFixedHeight(40);
    FChooser = new TChooser(chooserBand);
    FChooser->setObjectName("cbAuthors");
    FChooser->setEditable(false);
    FChooser->setGeometry(3, 5, 202, 21);
    addBand(chooserBand);
    connect(FChooser, &QComboBox::activated, this, &TStylometryPage::authorChosen);
    view().setSelectionMode(QAbstractItemView::ExtendedSelection);
    view().setFixedCellStyle(true, true);
    startColumnWidth(0, 850);
    startColumnWidth(1, 150);
    startColumnWidth(2, 150);
}

void TStylometryPage::showChoices(const QStringList& names, int chosen) {
    const QSignalBlocker blocker(FChooser);
    FChooser->clear();
    FChooser->addItems(names);
    FChooser->setCurrentIndex(chosen);
}

}  // namespace quillprint
