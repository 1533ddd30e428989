// The window's pictures: the chart beside the results table, and the report
// that gathers the pictures for sharing.
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
#include "ui/ResultPage.h"
#include "ui/ScrollingBand.h"
#include "ui/UserDialogs.h"
#include "workspace/ChartData.h"
#include "workspace/Workspace.h"

namespace quillprint {

void TForm1::refreshCharts() {
    const TWorkspace& workspace = *FWorkspace;
    FResultPage->showBars(workspace.Results().ResultBars());
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
