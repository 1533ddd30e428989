// The window's pictures: the chart beside the results table, the heat map
// below the table of texts, and the report that gathers them for sharing.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QSplitter>
#include <QStandardPaths>
#include <QStyle>
#include <QVBoxLayout>

#include "ui/ConfusionMatrixView.h"
#include "ui/Form1.h"

#include "ui/BusyCursor.h"
#include "ui/GridView.h"
#include "ui/ReportExport.h"
#include "ui/ReportPictures.h"
#include "ui/ResultChart.h"
#include "ui/ScrollingBand.h"
#include "ui/TextsHeatMap.h"
#include "ui/UserDialogs.h"
#include "workspace/ChartData.h"
#include "workspace/Workspace.h"

namespace quillprint {

void TForm1::createCharts() {
    // The chart sits right of the results table: the splitter takes the
    // table out of the page's layout.
    resultChart = new TResultChart;
    auto* resultSplitter = new QSplitter(Qt::Horizontal, tbResult);
    resultSplitter->setObjectName("ResultSplitter");
    resultSplitter->setChildrenCollapsible(false);
    resultSplitter->addWidget(sgResult);
    // With many candidates the chart grows taller than the page and scrolls.
    auto* chartScroll = new QScrollArea;
    chartScroll->setObjectName("ResultChartScroll");
    chartScroll->setWidgetResizable(true);
    chartScroll->setFrameShape(QFrame::NoFrame);
    chartScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    chartScroll->setWidget(resultChart);
    resultSplitter->addWidget(chartScroll);
    resultSplitter->setSizes({770, 430});
    // In the table's place: above the band that says how far to trust it.
    auto* resultLayout = qobject_cast<QBoxLayout*>(tbResult->layout());
    resultLayout->insertWidget(resultLayout->indexOf(FTrustArea), resultSplitter);

    textsHeatMap = new TTextsHeatMap;
    textsHeatMap->setEmptyText(tr("Calculate with \"Each text\" to see every text against every candidate."));
    // Right of the table of texts, scrolling when there are many texts.
    auto* heatMapScroll = new QScrollArea;
    heatMapScroll->setWidgetResizable(true);
    heatMapScroll->setFrameShape(QFrame::NoFrame);
    heatMapScroll->setWidget(textsHeatMap);
    auto* textsSplitter = new QSplitter(Qt::Horizontal, tbTexts);
    textsSplitter->setObjectName("TextsSplitter");
    textsSplitter->setChildrenCollapsible(false);
    textsSplitter->addWidget(sgTexts);
    textsSplitter->addWidget(heatMapScroll);
    textsSplitter->setSizes({800, 400});
    tbTexts->layout()->addWidget(textsSplitter);
    // A click on a cell shows that text, as a click on its row does.
    connect(textsHeatMap, &TCellMatrixView::cellClicked, this, [this](int row, int) { sgTexts->selectRow(row); });
}

void TForm1::refreshCharts() {
    const TWorkspace& workspace = *FWorkspace;
    resultChart->setBars(workspace.Results().ResultBars());
    textsHeatMap->setHeatMap(TextsHeatMap(workspace.Results().TextOutcomes()));
}

void TForm1::acExportReportExecute() {
    const TWorkspace& workspace = *FWorkspace;
    if (!workspace.Results().Engine() || !workspace.Calculated()) {
        FDialogs.ShowMessage(this, tr("There are no current results to report. Please press \"Calculate\" first."));
        return;
    }
    // The dialog opens in the user's documents, never in the project folder.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::homePath();
    const QString project =
        QFileInfo(QDir::fromNativeSeparators(QString::fromStdU16String(workspace.Project().Folder())).chopped(1))
            .fileName();
    const QString name = (project.isEmpty() ? tr("Quillprint") : project) + tr(" report.pdf");
    const std::optional<QString> path =
        FDialogs.ChooseSaveFile(this, tr("Export report"), QDir(folder).filePath(name),
                                tr("PDF document (*.pdf);;Web page (*.html)"));
    if (!path) return;
    std::optional<QString> failure;
    {
        TBusyCursor busy;
        failure = WriteReport(*path, workspace, ReportPictures(workspace, font()), QDateTime::currentDateTime());
    }
    if (failure) FDialogs.ShowError(this, tr("Cannot write the report \"%1\". %2").arg(QDir::toNativeSeparators(*path), *failure));
}

}  // namespace quillprint
