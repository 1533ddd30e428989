// The toggle "Balance" and the report of "Validation" in the window.
#include <QAbstractItemModel>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "FormFixture.h"
#include "UiTestProgram.h"
#include "ui/CrossValidationDialog.h"
#include "ui/GridView.h"
#include "ui/ValidationReportDialog.h"
#include "workspace/Workspace.h"

namespace quillprint::test {
namespace {

QString Header(const QAbstractItemModel* model, int col) {
    return model->headerData(col, Qt::Horizontal, Qt::DisplayRole).toString();
}

// Two candidates of six lines each, each with phrases of its own.
void WriteProject(const QString& dir) {
    WriteSailorAndFarmer(dir);
    WriteFile(dir + "/Unknown/u.txt", "the salt wind\n");
}

}  // namespace

class BalanceValidationTest : public QObject {
    Q_OBJECT

private slots:
    void balanceIsOffByDefaultAndAddsTheColumnDrawsWon() {
        TFormFixture f;
        TForm1& form = *f.Form;
        QVERIFY(Part<QAction>(form, "acBalance")->isCheckable());
        QVERIFY(!Part<QAction>(form, "acBalance")->isChecked());
        QVERIFY(form.commandSet().contains(Part<QAction>(form, "acBalance")));
        Part<QAction>(form, "Action1")->trigger();
        FinishCalculation(form);
        QCOMPARE(Part<TGridView>(form, "sgResult")->model()->columnCount(), 4);

        Part<QAction>(form, "acBalance")->trigger();
        QVERIFY(form.workspace().Options().Balance());
        QVERIFY(!form.workspace().Calculated());  // the shown results are out of date
        Part<QAction>(form, "Action1")->trigger();
        FinishCalculation(form);
        QCOMPARE(Part<TGridView>(form, "sgResult")->model()->columnCount(), 5);
        QCOMPARE(Header(Part<TGridView>(form, "sgResult")->model(), 4), QString("Draws won"));
        QCOMPARE(Cell(Part<TGridView>(form, "sgResult")->model(), 4, 0), QString("9"));

        Part<QAction>(form, "acBalance")->trigger();
        Part<QAction>(form, "Action1")->trigger();
        FinishCalculation(form);
        QCOMPARE(Part<TGridView>(form, "sgResult")->model()->columnCount(), 4);
        QVERIFY(f.Dialogs.Errors.isEmpty());
    }

    void crossValidationRunsInTheBackgroundAndAddsTheChanceBelowTheResult() {
        TFormFixture f;
        TForm1& form = *f.Form;
        QTemporaryDir project;
        WriteProject(project.path());
        // A second file each, so that every candidate has texts to hold out.
        WriteFile(project.path() + "/Sailor/log2.txt", "the salt wind fills the old sail again\n");
        WriteFile(project.path() + "/Farmer/diary2.txt", "the brown field waits for rain again\n");
        f.Dialogs.FolderAnswer = project.path();
        Part<QAction>(form, "acOpen")->trigger();
        Part<QAction>(form, "Action1")->trigger();
        FinishCalculation(form);
        const QString result = Cell(Part<TGridView>(form, "sgResult")->model(), 0, 0);
        QVERIFY(Part<QLabel>(form, "trustBand")->text().startsWith("Cosine Delta: "));
        QVERIFY(Part<QLabel>(form, "trustBand")->text().contains("The disputed text has 3 words"));
        QVERIFY(form.commandSet().contains(Part<QAction>(form, "acCrossValidation")));

        Part<QAction>(form, "acCrossValidation")->trigger();
        TCrossValidationDialog* dialog = Part<TCrossValidationDialog>(form, "CrossValidationDialog");
        QVERIFY(dialog && dialog->isVisible());
        dialog->findChild<QCheckBox*>("CrossValidationAsDisputed")->setChecked(false);
        dialog->findChild<QSpinBox*>("CrossValidationExcerpt")->setValue(0);
        dialog->runButton()->click();
        QVERIFY(form.calculationRunning());
        FinishCalculation(form);

        QVERIFY2(dialog->figures()->text().contains("Checks: 4"), qPrintable(dialog->figures()->text()));
        QVERIFY(dialog->figures()->text().contains("Excerpt: whole texts"));
        QCOMPARE(dialog->checks().RowCount(), 5);
        QCOMPARE(form.workspace().Results().CrossValidation()->Checks.size(), size_t(4));
        // The table stays as it was; the chance and verdict come below it.
        QCOMPARE(Cell(Part<TGridView>(form, "sgResult")->model(), 0, 0), result);
        QVERIFY2(Part<QLabel>(form, "trustBand")->text().startsWith("Chance that "),
                 qPrintable(Part<QLabel>(form, "trustBand")->text()));
        QVERIFY(Part<QLabel>(form, "trustBand")->text().contains("\nVerdict: "));
        QVERIFY(f.Dialogs.Errors.isEmpty());
    }

    void validationShowsTheReportWhichCopiesLikeTheTables() {
        TFormFixture f;
        TForm1& form = *f.Form;
        QTemporaryDir project;
        WriteProject(project.path());
        f.Dialogs.FolderAnswer = project.path();
        Part<QAction>(form, "acOpen")->trigger();
        QVERIFY(form.findChild<TValidationReportDialog*>("ValidationReportDialog") == nullptr);

        Part<QAction>(form, "acValidation")->trigger();

        FinishCalculation(form);
        TValidationReportDialog* dialog = Part<TValidationReportDialog>(form, "ValidationReportDialog");
        QVERIFY(dialog && dialog->isVisible());
        const QAbstractItemModel* model = dialog->table()->model();
        QCOMPARE(Header(model, 2), QString("Ranked first"));
        QCOMPARE(model->rowCount(), 3);
        QCOMPARE(Cell(model, 0, 0), QString("Farmer"));
        QCOMPARE(Cell(model, 2, 0), QString("Farmer"));
        QCOMPARE(Cell(model, 2, 1), QString("Sailor"));
        QCOMPARE(Cell(model, 0, 2), QString("2 of 2 recognised"));
        QVERIFY(!form.workspace().Calculated());

        dialog->copyButton()->click();
        const QString copied = QGuiApplication::clipboard()->text();
        QVERIFY2(copied.startsWith("\tAuthor\tLines held back\tRanked first\tScore\tRank\r\tFarmer\t1\tFarmer\t"),
                 qPrintable(copied));
        QVERIFY(copied.endsWith("\t2 of 2 recognised\t\t\t\t\r"));

        // A second validation refills the same dialog.
        Part<QAction>(form, "acBalance")->trigger();
        Part<QAction>(form, "acValidation")->trigger();
        FinishCalculation(form);
        QCOMPARE(Part<TValidationReportDialog>(form, "ValidationReportDialog"), dialog);
        QCOMPARE(Cell(dialog->table()->model(), 0, 2), QString("2 of 2 recognised"));
        QVERIFY(f.Dialogs.Errors.isEmpty());
    }
};

}  // namespace quillprint::test

QUILLPRINT_UI_TEST(quillprint::test::BalanceValidationTest)
#include "BalanceValidationTest.moc"
