#include "ui/ResultPage.h"

#include <QLabel>
#include <QScrollArea>
#include <QSplitter>

#include "ui/GridView.h"
#include "ui/ResultChart.h"
#include "ui/ScrollingBand.h"
#include "workspace/LanguageHint.h"

namespace quillprint {

TResultPage::TResultPage(QWidget* parent) : TTablePage("tbResult", "sgResult", parent) {
    FSplittingHint = new QLabel(QString::fromUtf8(kSplitByLanguageHint.data(), kSplitByLanguageHint.size()), this);
    FSplittingHint->setObjectName("splittingHintBand");
    FSplittingHint->setWordWrap(true);
    FSplittingHint->setContentsMargins(6, 3, 6, 3);
    FSplittingHint->setStyleSheet("background: #dcebfa; color: #0b3a66;");
    FSplittingHint->setVisible(false);
    addBand(FSplittingHint);

    // The chart sits right of the table.
    FChart = new TResultChart;
    FChart->setObjectName("resultChart");
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName("ResultSplitter");
    splitter->setChildrenCollapsible(false);
    replaceView(splitter);
    splitter->addWidget(&view());
    // With many candidates the chart grows taller than the page and scrolls.
    auto* chartScroll = new QScrollArea;
    chartScroll->setObjectName("ResultChartScroll");
    chartScroll->setWidgetResizable(true);
    chartScroll->setFrameShape(QFrame::NoFrame);
    chartScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    chartScroll->setWidget(FChart);
    splitter->addWidget(chartScroll);
    splitter->setSizes({770, 430});

    // How far to trust the answer, below the table and never in it; as high
    // as its lines up to four, the table takes the rest of the page.
    auto* trustLabel = new QLabel;
    trustLabel->setObjectName("trustBand");
    trustLabel->setContentsMargins(6, 3, 6, 3);
    trustLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    FTrust = new TScrollingBand(trustLabel, 4, this);
    FTrust->setObjectName("trustBandArea");
    FTrust->setVisible(false);
    addBelow(FTrust);

    view().setSelectionMode(QAbstractItemView::SingleSelection);
    view().setFixedCellStyle(false, false);
    startColumnWidth(1, 150);
    startColumnWidth(2, 150);
    startColumnWidth(3, 250);
}

void TResultPage::refresh() {
    TTablePage::refresh();
    // Names are shown whole up to a limit: long ones widen their column.
    view().fitColumnToContents(0, kWidestFittedColumn);
    // So are the results (the Unknown row's "The same as Unknown text"
    // among them); the table keeps its first widths until there are any.
    if (!model().index(0, 1).data().toString().isEmpty())
        for (int column = 1; column < model().columnCount(); ++column)
            view().fitColumnToContents(column, kWidestFittedColumn);
}

void TResultPage::showBars(const std::vector<TScoreBar>& bars) { FChart->setBars(bars); }

void TResultPage::showTrust(const QStringList& lines) { FTrust->setText(lines.join(QLatin1Char('\n'))); }

void TResultPage::showSplittingHint(bool shown) { FSplittingHint->setVisible(shown); }

}  // namespace quillprint
