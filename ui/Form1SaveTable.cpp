// "Save as…": the table of the active page, or the validation report, as a
// CSV or TSV file the user chooses.
#include <QDir>
#include <QFileInfo>
#include <QTabWidget>

#include "ui/BusyCursor.h"
#include "ui/Form1.h"
#include "ui/ResultPage.h"
#include "ui/TableFile.h"
#include "ui/TextsPage.h"
#include "ui/UserDialogs.h"
#include "workspace/Workspace.h"

namespace quillprint {

void TForm1::acSaveTableExecute() {
    const QWidget* page = PageControl1->currentWidget();
    if (page == FAnalysisPage)
        saveTableAs(FWorkspace->Results().AnalysisTable(), tr("Analysis"));
    else if (page == FResultPage)
        saveTableAs(FWorkspace->Results().ResultTable(), tr("Result"));
    else if (page == FStylometryPage)
        saveTableAs(FWorkspace->Results().StylometryTable(), tr("Stylometry"));
    else if (page == FTextsPage)
        saveTableAs(FWorkspace->Results().TextsTable(), tr("Texts"));
    else
        FDialogs.ShowMessage(this, tr("\"Save as…\" saves the table of the page shown. Please choose the page "
                                      "\"Result\", \"Analysis\", \"Stylometry\" or \"Texts\" first."));
}

void TForm1::saveTableAs(const TGrid& grid, const QString& tableName) {
    QString project =
        QDir(QDir::fromNativeSeparators(QString::fromStdU16String(FWorkspace->Project().Folder()))).dirName();
    if (FNewProject || project.isEmpty()) project = tr("Quillprint");
    const QString suggested = QDir(UserDocumentsFolder()).filePath(QString("%1 %2.csv").arg(project, tableName));
    const std::optional<QString> path =
        FDialogs.ChooseSaveFile(this, tr("Save as"), suggested, tr("CSV (*.csv);;TSV (*.tsv)"));
    if (!path) return;
    std::optional<QString> failure;
    {
        const TBusyCursor busy;
        failure = WriteTableFile(*path, grid);
    }
    if (failure)
        FDialogs.ShowError(this, tr("Cannot write the file \"%1\". %2").arg(QDir::toNativeSeparators(*path), *failure));
}

}  // namespace quillprint
