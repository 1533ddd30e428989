// "Save as…": every table and the validation report go to a CSV or TSV file
// the user chooses, from the ribbon, the tables' right-click menu and the
// report's button; the dialog starts outside the project folder; a failure
// names the file and writes nothing.
#include <QAction>
#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "FormFixture.h"
#include "UiTestProgram.h"
#include "ui/Ribbon.h"
#include "ui/TableFile.h"
#include "ui/ValidationReportDialog.h"
#include "workspace/TableText.h"
#include "workspace/Workspace.h"

namespace quillprint::test {
namespace {

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray Utf8(const std::u16string& text) { return QString::fromStdU16String(text).toUtf8(); }

}  // namespace

class SaveTableTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void everyTablePageSavesItsTableInTheChosenFormat() {
        TFormFixture f;
        TForm1& form = *f.Form;
        Part<QAction>(form, "Action1")->trigger();
        FinishCalculation(form);
        const TWorkspace& workspace = form.workspace();
        QTemporaryDir out;
        struct TCase {
            QWidget* Page;
            const TGrid* Grid;
            const char* File;
            TTableFormat Format;
        };
        const TCase cases[] = {
            {Part(form, "tbResult"), &workspace.Results().ResultTable(), "result.csv", TTableFormat::Csv},
            {Part(form, "tbAnalysis"), &workspace.Results().AnalysisTable(), "analysis.TSV", TTableFormat::Tsv},
            {Part(form, "tbStylometry"), &workspace.Results().StylometryTable(), "stylometry.tsv", TTableFormat::Tsv},
            {Part(form, "tbResult"), &workspace.Results().ResultTable(), "result.txt", TTableFormat::Csv},
        };
        for (const TCase& c : cases) {
            Part<QTabWidget>(form, "PageControl1")->setCurrentWidget(c.Page);
            FinishCalculation(form);
            const QString path = out.filePath(c.File);
            f.Dialogs.SaveAnswer = path;
            Part<QAction>(form, "acSaveTable")->trigger();
            QCOMPARE(FileBytes(path), Utf8(TableText(*c.Grid, c.Format)));
        }
        QVERIFY(FileBytes(out.filePath("result.csv")).contains("\n"));
        QVERIFY(!FileBytes(out.filePath("result.csv")).contains("\r"));
        QVERIFY(f.Dialogs.Errors.isEmpty());

        // The dialog starts in the documents folder with the table's name,
        // never in the project folder.
        QCOMPARE(f.Dialogs.SaveStartPaths.size(), 4);
        QCOMPARE(f.Dialogs.SaveStartPaths.first(),
                 QDir(UserDocumentsFolder()).filePath("FederalistShort Result.csv"));
        for (const QString& start : f.Dialogs.SaveStartPaths)
            QVERIFY2(!start.startsWith(QDir::cleanPath(f.Folder.executableDir())), qPrintable(start));
    }

    void theCommandIsInTheRibbonAndTheTablesMenu() {
        TFormFixture f;
        TForm1& form = *f.Form;
        QVERIFY(Part<QMenu>(form, "PopupMenu1")->actions().contains(Part<QAction>(form, "acSaveTable")));
        QVERIFY(Part<QMenu>(form, "PopupMenu1")->actions().contains(Part<QAction>(form, "miCopy")));
        bool inRibbon = false;
        for (const QToolButton* button : Part<TRibbon>(form, "Ribbon1")->findChildren<QToolButton*>())
            inRibbon = inRibbon || button->defaultAction() == Part<QAction>(form, "acSaveTable");
        QVERIFY(inRibbon);
        QVERIFY(form.commandSet().contains(Part<QAction>(form, "acSaveTable")));
    }

    void cancelOrAPageWithoutATableWritesNothing() {
        TFormFixture f;
        TForm1& form = *f.Form;
        QTemporaryDir out;
        // "Input data" holds no table: the user is told, no dialog opens.
        Part<QTabWidget>(form, "PageControl1")->setCurrentWidget(Part(form, "tbAuthors"));
        f.Dialogs.SaveAnswer = out.filePath("nothing.csv");
        Part<QAction>(form, "acSaveTable")->trigger();
        QCOMPARE(f.Dialogs.Messages.size(), 1);
        QVERIFY(f.Dialogs.SaveStartPaths.isEmpty());

        Part<QTabWidget>(form, "PageControl1")->setCurrentWidget(Part(form, "tbResult"));
        FinishCalculation(form);
        f.Dialogs.SaveAnswer.reset();
        Part<QAction>(form, "acSaveTable")->trigger();
        QCOMPARE(f.Dialogs.SaveStartPaths.size(), 1);
        QVERIFY(QDir(out.path()).entryList(QDir::Files).isEmpty());
        QVERIFY(f.Dialogs.Errors.isEmpty());
    }

    void aFailedWriteNamesTheFileAndKeepsTheOldOne() {
        TFormFixture f;
        TForm1& form = *f.Form;
        Part<QTabWidget>(form, "PageControl1")->setCurrentWidget(Part(form, "tbResult"));
        FinishCalculation(form);
        QTemporaryDir out;
        const QString missingFolder = out.filePath("no such folder/result.csv");
        f.Dialogs.SaveAnswer = missingFolder;
        Part<QAction>(form, "acSaveTable")->trigger();
        QCOMPARE(f.Dialogs.Errors.size(), 1);
        QVERIFY2(f.Dialogs.Errors.first().contains(QDir::toNativeSeparators(missingFolder)),
                 qPrintable(f.Dialogs.Errors.first()));
        QVERIFY(!QFileInfo::exists(missingFolder));

        // A file that cannot be replaced (a folder stands in its place) stays as it was.
        const QString blocked = out.filePath("blocked.csv");
        QVERIFY(QDir().mkpath(blocked));
        f.Dialogs.SaveAnswer = blocked;
        Part<QAction>(form, "acSaveTable")->trigger();
        QCOMPARE(f.Dialogs.Errors.size(), 2);
        QVERIFY(QFileInfo(blocked).isDir());
    }

    void aLinkAtThePathIsReplacedNotWrittenThrough() {
        QTemporaryDir out;
        const QString victim = out.filePath(QStringLiteral("victim.csv"));
        const QString link = out.filePath(QStringLiteral("table.csv"));
        {
            QFile file(victim);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("keep me");
        }
        QVERIFY(QFile::link(victim, link));
        TGrid grid(1, 1);
        grid.SetCell(0, 0, u"cell");
        QCOMPARE(WriteTableFile(link, grid), std::nullopt);
        QCOMPARE(FileBytes(victim), QByteArray("keep me"));
        QVERIFY(!QFileInfo(link).isSymLink());
        QCOMPARE(FileBytes(link), Utf8(TableText(grid, TTableFormat::Csv)));
        QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::System).size(), 2);  // no temporary left
    }

    void theValidationReportSavesItsTable() {
        TFormFixture f;
        TForm1& form = *f.Form;
        Part<QAction>(form, "acValidation")->trigger();
        FinishCalculation(form);
        TValidationReportDialog* report = Part<TValidationReportDialog>(form, "ValidationReportDialog");
        QVERIFY(report);
        QVERIFY(report->saveButton());
        QTemporaryDir out;
        f.Dialogs.SaveAnswer = out.filePath("validation.csv");
        report->saveButton()->click();
        QCOMPARE(FileBytes(out.filePath("validation.csv")), Utf8(TableText(report->report(), TTableFormat::Csv)));
        QVERIFY(FileBytes(out.filePath("validation.csv")).contains("recognised"));
        QCOMPARE(f.Dialogs.SaveStartPaths.last(),
                 QDir(UserDocumentsFolder()).filePath("FederalistShort Validation.csv"));
    }
};

}  // namespace quillprint::test

QUILLPRINT_UI_TEST(quillprint::test::SaveTableTest)
#include "SaveTableTest.moc"
