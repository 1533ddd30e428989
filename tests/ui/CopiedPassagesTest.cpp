// The toggle "Leave out copied passages" and the dialog "Copied passages".
#include <QAbstractItemModel>
#include <QAction>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

#include "FormFixture.h"
#include "UiTestProgram.h"
#include "ui/AuthorTreeView.h"
#include "ui/CopiedPassagesDialog.h"
#include "ui/GridView.h"
#include "workspace/Workspace.h"

namespace quillprint::test {
namespace {

// `count` words that occur nowhere else, ten to a line.
QByteArray Words(const QByteArray& prefix, int from, int count) {
    QByteArray text;
    for (int i = 0; i < count; ++i) text += prefix + QByteArray::number(from + i) + (i % 10 == 9 || i + 1 == count ? "\n" : " ");
    return text;
}

// The second text of "Unknown" copies 5,000 words of Hamilton's text from
// its line 4, too long a copy to compare phrase by phrase, then 60 words of
// Madison's.
void WriteCopiedPassageProject(const QString& dir) {
    WriteFile(dir + "/Hamilton/h.txt", Words("h", 0, 6000));
    WriteFile(dir + "/Madison/m.txt", Words("m", 0, 300));
    WriteFile(dir + "/Unknown/1.txt", Words("u", 0, 40));
    WriteFile(dir + "/Unknown/2.txt", Words("v", 0, 30) + Words("h", 200, 5000) + Words("m", 0, 60));
}

}  // namespace

class CopiedPassagesTest : public QObject {
    Q_OBJECT

private slots:
    void theToggleTurnsARefusalIntoAResult() {
        TFormFixture f;
        TForm1& form = *f.Form;
        QTemporaryDir project;
        WriteCopiedPassageProject(project.path());
        f.Dialogs.FolderAnswer = project.path();
        Part<QAction>(form, "acOpen")->trigger();
        QVERIFY(Part<QAction>(form, "acLeaveOutCopies")->isCheckable());
        QVERIFY(!Part<QAction>(form, "acLeaveOutCopies")->isChecked());
        QVERIFY(form.commandSet().contains(Part<QAction>(form, "acLeaveOutCopies")));

        Part<QAction>(form, "Action1")->trigger();

        FinishCalculation(form);
        QCOMPARE(f.Dialogs.Errors.size(), 1);
        QVERIFY2(f.Dialogs.Errors[0].contains("share a passage of 5,000 words (line 4 of \"2.txt\" in \"Unknown\"; "
                                              "line 21 of \"h.txt\" in \"Hamilton\")"),
                 qPrintable(f.Dialogs.Errors[0]));
        QVERIFY(f.Dialogs.Errors[0].contains("\"Leave out copied passages\""));
        // The window names its toggle, not the command line's option.
        QVERIFY2(!f.Dialogs.Errors[0].contains("--"), qPrintable(f.Dialogs.Errors[0]));

        Part<QAction>(form, "acLeaveOutCopies")->trigger();
        QVERIFY(form.workspace().Options().LeaveOutCopies());
        Part<QAction>(form, "Action1")->trigger();
        FinishCalculation(form);
        QCOMPARE(f.Dialogs.Errors.size(), 1);
        const QAbstractItemModel* result = Part<TGridView>(form, "sgResult")->model();
        QCOMPARE(Cell(result, 0, 2), QString("Unknown"));
        QCOMPARE(Cell(result, 3, 2), QString("70  (5060 words of copied passages left out)"));
    }

    void choosingAPassageShowsItInTheUnknownText() {
        TFormFixture f;
        TForm1& form = *f.Form;
        QTemporaryDir project;
        WriteCopiedPassageProject(project.path());
        f.Dialogs.FolderAnswer = project.path();
        Part<QAction>(form, "acOpen")->trigger();
        QVERIFY(form.findChild<TCopiedPassagesDialog*>("CopiedPassagesDialog") == nullptr);

        Part<QAction>(form, "acCopies")->trigger();
        FinishCalculation(form);
        TCopiedPassagesDialog* dialog = Part<TCopiedPassagesDialog>(form, "CopiedPassagesDialog");
        QVERIFY(dialog && dialog->isVisible());
        const QAbstractItemModel* model = dialog->table()->model();
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(Cell(model, 0, 0), QString("Hamilton"));
        QCOMPARE(Cell(model, 3, 0), QString("2.txt"));
        QCOMPARE(Cell(model, 4, 0), QString("4"));
        QCOMPARE(Cell(model, 5, 0), QString("5000"));
        QCOMPARE(Cell(model, 0, 1), QString("Madison"));
        QCOMPARE(Cell(model, 5, 1), QString("60"));
        QVERIFY(dialog->summary()->text().startsWith("2 passages of 50 words or more"));

        dialog->table()->selectionModel()->setCurrentIndex(model->index(0, 0), QItemSelectionModel::ClearAndSelect);
        QCOMPARE(form.workspace().Project().Selected()->Label(), u"2.txt");
        const QList<QTextEdit::ExtraSelection> marked = Part<QPlainTextEdit>(form, "mText")->extraSelections();
        QCOMPARE(marked.size(), 1);
        // Lines 4 to 503 of the second text: the whole copy.
        QVERIFY(marked[0].cursor.selectedText().startsWith("h200 h201"));
        QVERIFY(marked[0].cursor.selectedText().endsWith("h5198 h5199"));
        QVERIFY(f.Dialogs.Errors.isEmpty());
    }
};

}  // namespace quillprint::test

QUILLPRINT_UI_TEST(quillprint::test::CopiedPassagesTest)
#include "CopiedPassagesTest.moc"
