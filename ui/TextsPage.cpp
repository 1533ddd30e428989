#include "ui/TextsPage.h"

#include <QItemSelectionModel>
#include <QScrollArea>
#include <QSplitter>

#include "ui/GridView.h"
#include "ui/TextsHeatMap.h"
#include "workspace/ChartData.h"

namespace quillprint {

TTextsPage::TTextsPage(QWidget* parent) : TTablePage("tbTexts", "sgTexts", parent) {
    view().setSelectionMode(QAbstractItemView::SingleSelection);
    view().setFixedCellStyle(false, false);
    // Narrow enough that every column, "Draws won" included, fits beside
    // the heat map in the window's first size.
    const std::pair<int, int> widths[] = {{0, 40}, {1, 140}, {2, 50}, {3, 95}, {4, 70},
                                          {5, 85}, {6, 95},  {7, 70}, {8, 55}, {9, 70}};
    for (const auto& [column, width] : widths) startColumnWidth(column, width);

    FHeatMap = new TTextsHeatMap;
    FHeatMap->setObjectName("textsHeatMap");
    FHeatMap->setEmptyText(tr("Calculate with \"Each text\" to see every text against every candidate."));
    // Right of the table, scrolling when there are many texts.
    auto* heatMapScroll = new QScrollArea;
    heatMapScroll->setWidgetResizable(true);
    heatMapScroll->setFrameShape(QFrame::NoFrame);
    heatMapScroll->setWidget(FHeatMap);
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName("TextsSplitter");
    splitter->setChildrenCollapsible(false);
    replaceView(splitter);
    splitter->addWidget(&view());
    splitter->addWidget(heatMapScroll);
    splitter->setSizes({800, 400});
    // A click on a cell shows that text, as a click on its row does.
    connect(FHeatMap, &TCellMatrixView::cellClicked, this, [this](int row, int) { view().selectRow(row); });
}

void TTextsPage::tableShown() {
    connect(view().selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { emit textSelected(current.row()); });
}

void TTextsPage::showTexts(const std::vector<TTextOutcome>& texts, int shown) {
    FHeatMap->setHeatMap(TextsHeatMap(texts));
    if (!texts.empty() && shown >= 0 && view().currentIndex().row() != shown) view().selectRow(shown);
}

}  // namespace quillprint
