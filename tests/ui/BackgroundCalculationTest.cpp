// The window while a calculation runs on its worker thread: the status bar's
// progress and "Cancel", the commands that wait for the run, and a cancelled
// run that leaves everything as it was.
#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include "FormFixture.h"
#include "UiTestProgram.h"
#include "ui/CalculationStatus.h"
#include "ui/GridView.h"
#include "workspace/Grid.h"
#include "workspace/Workspace.h"

namespace quillprint::test {
namespace {

// A second project to open: two candidates and a disputed text.
void WriteOtherProject(const QString& dir) {
    WriteSailorAndFarmer(dir);
    WriteFile(dir + "/Unknown/u.txt", "the salt wind fills the old sail at dawn\n");
}

}  // namespace

class BackgroundCalculationTest : public QObject {
    Q_OBJECT

private slots:
    void aRunShowsItsProgressAndDisablesWhatWouldChangeTheProject() {
        TFormFixture f;
        TForm1& form = *f.Form;
        const QString project = QString::fromStdU16String(form.workspace().Project().Folder());
        Part<QAction>(form, "Action1")->trigger();
        QVERIFY(form.calculationRunning());
        TCalculationStatus* status = Part<TCalculationStatus>(form, "calculationStatus");
        QVERIFY(status->bar()->isVisibleTo(&form));
        QVERIFY(status->cancelButton()->isVisibleTo(&form));
        for (QAction* command :
             {Part<QAction>(form, "acNew"), Part<QAction>(form, "acOpen"), Part<QAction>(form, "acTutorial"),
              Part<QAction>(form, "Action1"), Part<QAction>(form, "acValidation"), Part<QAction>(form, "acBalance"),
              Part<QAction>(form, "acEachText"), Part<QAction>(form, "acAddAuthor")})
            QVERIFY2(!command->isEnabled(), qPrintable(command->objectName()));
        QVERIFY(Part<QPlainTextEdit>(form, "mText")->isReadOnly());

        // A click on "Tutorial" meanwhile is not run later (it would load over the result).
        Part<QAction>(form, "acTutorial")->trigger();
        Part<QTabWidget>(form, "PageControl1")->setCurrentWidget(Part(form, "tbAnalysis"));  // no second run
        FinishCalculation(form);
        QCOMPARE(QString::fromStdU16String(form.workspace().Project().Folder()), project);
        QVERIFY(form.workspace().Calculated());
        QCOMPARE(Part<QTabWidget>(form, "PageControl1")->currentWidget(), Part(form, "tbResult"));
        QCOMPARE(status->text()->text(), QString("Calculation finished"));
        QVERIFY(!status->bar()->isVisibleTo(&form));
        QVERIFY(!status->cancelButton()->isVisibleTo(&form));
        QVERIFY(Part<QAction>(form, "acTutorial")->isEnabled() && Part<QAction>(form, "Action1")->isEnabled());
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }

    void cancelLeavesTheResultsTablesAndPageAsTheyWere() {
        TFormFixture f;
        TForm1& form = *f.Form;
        Part<QAction>(form, "Action1")->trigger();
        FinishCalculation(form);
        Part<QTabWidget>(form, "PageControl1")->setCurrentWidget(Part(form, "tbAnalysis"));

        WriteOtherProject(f.Folder.executableDir() + "Examples/Other");
        f.Dialogs.FolderAnswer = f.Folder.executableDir() + "Examples/Other";
        Part<QAction>(form, "acOpen")->trigger();
        // Loading cleared the tables; a cancelled run leaves them so.
        const std::u16string result = CopyGrid(form.workspace().Results().ResultTable());
        const std::u16string analysis = CopyGrid(form.workspace().Results().AnalysisTable());
        TRunHold hold(form);
        Part<QTabWidget>(form, "PageControl1")->setCurrentWidget(Part(form, "tbResult"));  // out of date: calculates
        QVERIFY(form.calculationRunning());
        QTest::mouseClick(Part<TCalculationStatus>(form, "calculationStatus")->cancelButton(), Qt::LeftButton);
        hold.Release();
        FinishCalculation(form);

        QCOMPARE(Part<TCalculationStatus>(form, "calculationStatus")->text()->text(), QString("Calculation cancelled"));
        QCOMPARE(Part<QTabWidget>(form, "PageControl1")->currentWidget(), Part(form, "tbResult"));
        QCOMPARE(CopyGrid(form.workspace().Results().ResultTable()), result);
        QCOMPARE(CopyGrid(form.workspace().Results().AnalysisTable()), analysis);
        QVERIFY(!form.workspace().Calculated());
        QVERIFY(f.Dialogs.Errors.isEmpty());
    }

    // Closing the window asks the run to stop and does not wait for it; the
    // run, ending later on its worker, calls nothing of the closed window.
    void closingTheWindowDuringARunDoesNotWaitForIt() {
        TFormFixture f;
        TRunHold hold(*f.Form);
        Part<QAction>(*f.Form, "Action1")->trigger();
        QVERIFY(f.Form->calculationRunning());
        f.Form.reset();
        // The run, let go with the window closed, stops and wakes nobody.
        hold.Release();
        // Events the run posted before the window went reach no one.
        QCoreApplication::sendPostedEvents();
        QVERIFY(f.Dialogs.Errors.isEmpty());
    }

    void progressTextNamesThePhaseAndTheCounts_data() {
        QTest::addColumn<int>("phase");
        QTest::addColumn<int>("done");
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("draw");
        QTest::addColumn<int>("candidate");
        QTest::addColumn<QString>("text");
        QTest::newRow("reading") << int(TRunPhase::Reading) << 3 << 12 << 0 << 0 << "Reading text 3 of 12";
        QTest::newRow("phrases") << int(TRunPhase::FindingPhrases) << 0 << 0 << 0 << 0 << "Finding phrases";
        QTest::newRow("draw") << int(TRunPhase::Scoring) << 0 << 0 << 4 << 0 << "Draw 4 of 9: scoring";
        QTest::newRow("validation") << int(TRunPhase::FindingPhrases) << 0 << 0 << 0 << 2
                                    << "Candidate 2 of 5: finding phrases";
        QTest::newRow("texts") << int(TRunPhase::Texts) << 7 << 20 << 0 << 0 << "Text 7 of 20 done";
        QTest::newRow("checks") << int(TRunPhase::Checks) << 5 << 73 << 0 << 0 << "Checks: 5 of 73";
    }
    void progressTextNamesThePhaseAndTheCounts() {
        QFETCH(int, phase);
        QFETCH(int, done);
        QFETCH(int, total);
        QFETCH(int, draw);
        QFETCH(int, candidate);
        QFETCH(QString, text);
        TRunProgress progress;
        progress.Phase = TRunPhase(phase);
        progress.Done = done;
        progress.Total = total;
        progress.Draw = draw;
        progress.Draws = draw ? 9 : 0;
        progress.Candidate = candidate;
        progress.Candidates = candidate ? 5 : 0;
        QCOMPARE(TCalculationStatus::describe(progress), text);
    }
};

}  // namespace quillprint::test

QUILLPRINT_UI_TEST(quillprint::test::BackgroundCalculationTest)
#include "BackgroundCalculationTest.moc"
