// The main window driven as a user would: start-up, tab changes, commands,
// label editing, copying and errors.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>

#include "FormFixture.h"
#include "UiTestProgram.h"
#include "ui/AuthorTreeView.h"
#include "ui/GridView.h"
#include "ui/Ribbon.h"
#include "ui/WindowFont.h"
#include "workspace/Workspace.h"

using namespace quillprint;
using namespace quillprint::test;

namespace {

// The captions as shown, without the access keys' markers.
QStringList TabCaptions(const QTabWidget* tabs) {
    QStringList captions;
    for (int i = 0; i < tabs->count(); ++i) captions.append(tabs->tabText(i).remove('&'));
    return captions;
}

QString Cell(const TGridView* grid, int col, int row) {
    // Row 0 is the header row, as in the workspace's tables.
    if (row == 0) return grid->model()->headerData(col, Qt::Horizontal, Qt::DisplayRole).toString();
    return grid->model()->index(row - 1, col).data().toString();
}

QStringList Column(const TGridView* grid, int col) {
    QStringList texts;
    for (int row = 0; row <= grid->model()->rowCount(); ++row) texts.append(Cell(grid, col, row));
    return texts;
}

// Selecting a tab the way a click does: the tab widget reports the change.
void UserSelectsPage(TForm1& form, QWidget* page) {
    Part<QTabWidget>(form, "PageControl1")->setCurrentWidget(page);
    FinishCalculation(form);
}

}  // namespace

class Form1Test : public QObject {
    Q_OBJECT

private slots:
    void startUpShowsTheExampleProjectOnInputData() {
        TFormFixture f;
        TForm1& form = *f.Form;
        QCOMPARE(form.windowTitle(), QString("FederalistShort \u2014 Lumeno Quillprint"));
        QCOMPARE(Part<TRibbon>(form, "Ribbon1")->findChild<QLabel*>("ribbonCaption")->text(), form.windowTitle());
        // Small enough for a laptop, large enough for the ribbon's groups.
        QVERIFY(form.minimumWidth() >= Part<TRibbon>(form, "Ribbon1")->minimumSizeHint().width());
        QVERIFY(form.minimumWidth() <= 1024 && form.minimumHeight() <= 600);
        // "Texts" is there but hidden until a run with "Each text".
        QCOMPARE(TabCaptions(Part<QTabWidget>(form, "PageControl1")),
                 QStringList({"Input data", "Analysis", "Result", "Stylometry", "Texts"}));
        QVERIFY(!Part<QTabWidget>(form, "PageControl1")->isTabVisible(4));
        QCOMPARE(Part<QTabWidget>(form, "PageControl1")->currentWidget(), Part(form, "tbAuthors"));
        QVERIFY(form.findChild<QWidget*>("tbEmails") == nullptr);

        QCOMPARE(TopLevelLabels(Part<TAuthorTreeView>(form, "tvAuthors")), QStringList({"Unknown", "Alpha", "Beta"}));
        QTreeWidgetItem* first = Part<TAuthorTreeView>(form, "tvAuthors")->topLevelItem(0)->child(0);
        QCOMPARE(Part<TAuthorTreeView>(form, "tvAuthors")->currentItem(), first);
        QCOMPARE(first->text(0), QString("disputed.txt"));
        QVERIFY(Part<QPlainTextEdit>(form, "mText")->toPlainText().startsWith("we hold these truths"));
        QVERIFY(Part<QPlainTextEdit>(form, "mText")->isReadOnly());
        QVERIFY(f.Dialogs.Messages.isEmpty());
        QVERIFY(!form.workspace().Calculated());

        QCOMPARE(Column(Part<TGridView>(form, "sgResult"), 0).first(), QString("Author"));
        QCOMPARE(
            (QStringList{Cell(Part<TGridView>(form, "sgResult"), 1, 0), Cell(Part<TGridView>(form, "sgResult"), 2, 0),
                         Cell(Part<TGridView>(form, "sgResult"), 3, 0)}),
            QStringList({"Probability", "Description", "Words"}));
        QCOMPARE((QStringList{Cell(Part<TGridView>(form, "sgStylometry"), 0, 0),
                              Cell(Part<TGridView>(form, "sgStylometry"), 1, 0),
                              Cell(Part<TGridView>(form, "sgStylometry"), 2, 0)}),
                 QStringList({"Phrase", "Count", "Other Authors use"}));
        QCOMPARE(Part<TGridView>(form, "sgResult")->model()->rowCount(), 5);  // 6 rows with the header
        QCOMPARE(Part<TGridView>(form, "sgAnalysis")->columnWidth(0), 450);
        QCOMPARE(Part<TGridView>(form, "sgResult")->columnWidth(0), 100);
        QCOMPARE(Part<TGridView>(form, "sgResult")->columnWidth(3), 250);
        QCOMPARE(Part<TGridView>(form, "sgStylometry")->columnWidth(0), 850);
        QCOMPARE(Part<TGridView>(form, "sgResult")->verticalHeader()->defaultSectionSize(), 24);
        // Without a setting that asks for Tahoma, the desktop's own font.
        QCOMPARE(form.font(), QApplication::font());
    }

    void windowFontIsTheDesktopsUnlessTahomaIsAskedForAndInstalled() {
        QFont desktop(QStringLiteral("DejaVu Sans"));
        desktop.setPointSize(13);
        const QStringList withTahoma{QStringLiteral("DejaVu Sans"), QStringLiteral("Tahoma")};
        const QStringList withoutTahoma{QStringLiteral("DejaVu Sans")};
        QCOMPARE(ChooseWindowFont(desktop, false, withTahoma), desktop);
        QCOMPARE(ChooseWindowFont(desktop, true, withoutTahoma), desktop);
        const QFont classic = ChooseWindowFont(desktop, true, withTahoma);
        QCOMPARE(classic.family(), QStringLiteral("Tahoma"));
        // In points, so that it grows with the screen's resolution.
        QCOMPARE(classic.pointSize(), 8);
        QCOMPARE(classic.pixelSize(), -1);
    }

    void startUpWithoutExampleFolderAsksForUnknown() {
        QTemporaryDir empty;
        TFakeDialogs dialogs;
        TFakeShell shell;
        TForm1 form(dialogs, shell, empty.path() + "/");
        QCOMPARE(dialogs.Messages, QStringList({"Please add \"Unknown\" folder for analysis"}));
        QCOMPARE(Part<TAuthorTreeView>(form, "tvAuthors")->topLevelItemCount(), 0);
        // A tab change then finds nothing to calculate and shows the empty table.
        UserSelectsPage(form, Part(form, "tbResult"));
        QCOMPARE(Part<QTabWidget>(form, "PageControl1")->currentWidget(), Part(form, "tbResult"));
        QCOMPARE(Column(Part<TGridView>(form, "sgResult"), 0), QStringList({"Author", "", "", "", "", ""}));
        QVERIFY(dialogs.Errors.isEmpty());
    }

    void tabChangeCalculatesOnceAndKeepsTheChosenPage() {
        TFormFixture f;
        TForm1& form = *f.Form;
        UserSelectsPage(form, Part(form, "tbAnalysis"));
        QCOMPARE(Part<QTabWidget>(form, "PageControl1")->currentWidget(), Part(form, "tbAnalysis"));
        QVERIFY(form.workspace().Calculated());
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
        QCOMPARE(Column(Part<TGridView>(form, "sgResult"), 0).last(), QString("Unknown"));
        const int alphaRow = Column(Part<TGridView>(form, "sgResult"), 0).indexOf("Alpha");
        QVERIFY(alphaRow > 0);
        const QString alphaWords = Cell(Part<TGridView>(form, "sgResult"), 3, alphaRow);

        // A second run would see the longer text and show another word count.
        WriteFile(f.Folder.projectDir() + "Alpha/first.txt", "many more words for alpha now\r\n");
        UserSelectsPage(form, Part(form, "tbResult"));
        UserSelectsPage(form, Part(form, "tbAnalysis"));
        QCOMPARE(Cell(Part<TGridView>(form, "sgResult"), 3, alphaRow), alphaWords);
        QCOMPARE(Part<QTabWidget>(form, "PageControl1")->currentWidget(), Part(form, "tbAnalysis"));

        // Loading a project makes the results stale again.
        Part<QAction>(form, "acFederalist")->trigger();
        QCOMPARE(Part<QTabWidget>(form, "PageControl1")->currentWidget(), Part(form, "tbAuthors"));
        UserSelectsPage(form, Part(form, "tbResult"));
        QVERIFY(form.workspace().Calculated());
        QVERIFY(
            Cell(Part<TGridView>(form, "sgResult"), 3, Column(Part<TGridView>(form, "sgResult"), 0).indexOf("Alpha"))
                .startsWith("6"));
    }

    void firstVisitToStylometryFillsItForTheFirstAuthor() {
        TFormFixture f;
        TForm1& form = *f.Form;
        UserSelectsPage(form, Part(form, "tbStylometry"));
        QCOMPARE(Part<QTabWidget>(form, "PageControl1")->currentWidget(), Part(form, "tbStylometry"));
        QCOMPARE(Part<QComboBox>(form, "cbAuthors")->count(), 3);
        QCOMPARE(Part<QComboBox>(form, "cbAuthors")->currentIndex(), 0);
        QCOMPARE(Part<QComboBox>(form, "cbAuthors")->currentText(), QString("Alpha"));
        QCOMPARE(Part<QComboBox>(form, "cbAuthors")->itemText(2), QString("Unknown"));
        QVERIFY(form.workspace().Results().StylometryRowsWritten() > 0);
        QCOMPARE(Cell(Part<TGridView>(form, "sgStylometry"), 0, 1),
                 QString::fromStdU16String(form.workspace().Results().StylometryTable().Cell(0, 1)));
        QVERIFY(!Cell(Part<TGridView>(form, "sgStylometry"), 0, 1).isEmpty());

        // Choosing another author in the drop-down refills the table.
        Part<QComboBox>(form, "cbAuthors")->setCurrentIndex(2);
        emit Part<QComboBox>(form, "cbAuthors")->activated(2);
        QCOMPARE(form.workspace().Results().ChosenAuthor(), 2);
    }

    void newProjectTypedByTheUserIsCalculated() {
        TFormFixture f;
        TForm1& form = *f.Form;
        Part<QAction>(form, "acNew")->trigger();
        QCOMPARE(TopLevelLabels(Part<TAuthorTreeView>(form, "tvAuthors")), QStringList({"Unknown"}));
        QCOMPARE(Part<TAuthorTreeView>(form, "tvAuthors")->currentItem()->text(0), QString("1"));
        QVERIFY(!Part<QPlainTextEdit>(form, "mText")->isReadOnly());
        QTest::keyClicks(Part<QPlainTextEdit>(form, "mText"), "one two three four one two three four");

        Part<QAction>(form, "acAddAuthor")->trigger();
        QCOMPARE(TopLevelLabels(Part<TAuthorTreeView>(form, "tvAuthors")), QStringList({"Unknown", "Author 1"}));
        QVERIFY(Part<QPlainTextEdit>(form, "mText")->toPlainText().isEmpty());
        QTest::keyClicks(Part<QPlainTextEdit>(form, "mText"), "one two three four five six");

        Part<QAction>(form, "Action1")->trigger();

        FinishCalculation(form);
        QCOMPARE(Part<QTabWidget>(form, "PageControl1")->currentWidget(), Part(form, "tbResult"));
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
        QCOMPARE(Column(Part<TGridView>(form, "sgResult"), 0), QStringList({"Author", "Author 1", "Unknown"}));
        QCOMPARE(Cell(Part<TGridView>(form, "sgResult"), 3, 1), QString("6"));
        QCOMPARE(Cell(Part<TGridView>(form, "sgResult"), 3, 2), QString("8"));
        QVERIFY(f.Dialogs.Errors.isEmpty());
    }

    void editingALabelToUnknownMakesThatAuthorTheTestText() {
        TFormFixture f;
        TForm1& form = *f.Form;
        Part<QAction>(form, "acNew")->trigger();
        QTest::keyClicks(Part<QPlainTextEdit>(form, "mText"), "alpha beta gamma delta alpha beta gamma delta");
        Part<QAction>(form, "acAddAuthor")->trigger();
        QTest::keyClicks(Part<QPlainTextEdit>(form, "mText"), "alpha beta gamma");

        // Ending an in-place edit changes the item's text, which the tree reports.
        Part<TAuthorTreeView>(form, "tvAuthors")->topLevelItem(0)->setText(0, "Former");
        Part<TAuthorTreeView>(form, "tvAuthors")->topLevelItem(1)->setText(0, "Unknown");
        QCOMPARE(QString::fromStdU16String(form.workspace().Project().Tree().Authors().at(0)->Label()),
                 QString("Former"));

        Part<QAction>(form, "Action1")->trigger();

        FinishCalculation(form);
        QVERIFY(f.Dialogs.Errors.isEmpty());
        // "Former" is now the only candidate; the renamed author's three words
        // are the test text.
        QCOMPARE(Column(Part<TGridView>(form, "sgResult"), 0), QStringList({"Author", "Former", "Unknown"}));
        QCOMPARE(Cell(Part<TGridView>(form, "sgResult"), 3, 1), QString("8"));
        QCOMPARE(Cell(Part<TGridView>(form, "sgResult"), 3, 2), QString("3"));
    }

    void copyPutsTheActivePagesTableOnTheClipboard() {
        TFormFixture f;
        TForm1& form = *f.Form;
        QGuiApplication::clipboard()->setText("before");
        Part<QAction>(form, "miCopy")->trigger();  // on "Input data" nothing is copied
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("before"));

        UserSelectsPage(form, Part(form, "tbStylometry"));
        const struct {
            QWidget* page;
            const TGrid& grid;
            QString firstLine;
        } pages[] = {
            {Part(form, "tbResult"), form.workspace().Results().ResultTable(),
             "\tAuthor\tProbability\tDescription\tWords\r"},
            {Part(form, "tbStylometry"), form.workspace().Results().StylometryTable(),
             "\tPhrase\tCount\tOther Authors use\r"},
            {Part(form, "tbAnalysis"), form.workspace().Results().AnalysisTable(), "\t\tAlpha: "},
        };
        for (const auto& page : pages) {
            UserSelectsPage(form, page.page);
            Part<QAction>(form, "miCopy")->trigger();
            const QString text = QGuiApplication::clipboard()->text();
            QVERIFY2(text.startsWith(page.firstLine), qPrintable(text.left(80)));
            QVERIFY(!text.contains('\n'));
            QCOMPARE(text.count('\r'), page.grid.RowCount());
            QCOMPARE(text.count('\t'), page.grid.RowCount() * page.grid.ColCount());
        }
    }

    void fileDeletedAfterLoadingShowsOneErrorAndLeavesNoStaleResults() {
        TFormFixture f;
        TForm1& form = *f.Form;
        Part<QAction>(form, "Action1")->trigger();
        FinishCalculation(form);
        QVERIFY(form.workspace().Calculated());
        Part<QAction>(form, "acFederalist")->trigger();
        // Loading leaves no results of before.
        const QStringList before = Column(Part<TGridView>(form, "sgResult"), 0);
        QVERIFY(QFile::remove(f.Folder.projectDir() + "Alpha/first.txt"));
        Part<QAction>(form, "Action1")->trigger();
        FinishCalculation(form);
        QCOMPARE(f.Dialogs.Errors.size(), 1);
        QVERIFY(f.Dialogs.Errors.first().contains("Cannot open file"));
        QVERIFY(f.Dialogs.Errors.first().contains("first.txt"));
        QVERIFY(!f.Dialogs.CursorOverriddenAtError);  // the box comes after the cursor is back
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
        QCOMPARE(Part<QTabWidget>(form, "PageControl1")->currentWidget(), Part(form, "tbAuthors"));
        QCOMPARE(Column(Part<TGridView>(form, "sgResult"), 0), before);
        // The tables say that they are out of date.
        for (QWidget* page : {Part(form, "tbResult"), Part(form, "tbAnalysis"), Part(form, "tbStylometry")})
            QVERIFY(!page->findChild<QLabel*>("outOfDateBand")->isHidden());

        // The window stays usable: the tables still draw, the chooser offers
        // nothing of the failed engine, and other commands work.
        UserSelectsPage(form, Part(form, "tbStylometry"));
        QCOMPARE(Part<QComboBox>(form, "cbAuthors")->count(), 0);
        Part<TGridView>(form, "sgResult")->grab();
        Part<TGridView>(form, "sgAnalysis")->grab();
        QTest::keyClick(Part<QComboBox>(form, "cbAuthors"), Qt::Key_Down);
        QCOMPARE(form.workspace().Results().ChosenAuthor(), -1);

        // Selecting the vanished text in the tree is an error, not a crash.
        UserSelectsPage(form, Part(form, "tbAuthors"));
        Part<TAuthorTreeView>(form, "tvAuthors")
            ->setCurrentItem(Part<TAuthorTreeView>(form, "tvAuthors")->topLevelItem(1)->child(0));
        QVERIFY(f.Dialogs.Errors.size() >= 2);
        Part<QAction>(form, "acNew")->trigger();
        QCOMPARE(TopLevelLabels(Part<TAuthorTreeView>(form, "tvAuthors")), QStringList({"Unknown"}));
        QVERIFY(Part(form, "tbResult")->findChild<QLabel*>("outOfDateBand")->isHidden());
        QCOMPARE(form.windowTitle(), QString("Lumeno Quillprint"));
        QCOMPARE(Part<TRibbon>(form, "Ribbon1")->findChild<QLabel*>("ribbonCaption")->text(),
                 QString("Lumeno Quillprint"));
    }

    void openFolderCancelledChangesNothing() {
        TFormFixture f;
        TForm1& form = *f.Form;
        const std::u16string projectDir = form.workspace().Project().Folder();
        f.Dialogs.FolderAnswer.reset();
        Part<QAction>(form, "acOpen")->trigger();
        QCOMPARE(f.Dialogs.ChooserCaptions, QStringList({"Select Directory"}));
        QCOMPARE(TopLevelLabels(Part<TAuthorTreeView>(form, "tvAuthors")), QStringList({"Unknown", "Alpha", "Beta"}));
        QVERIFY(form.workspace().Project().Folder() == projectDir);
        QVERIFY(Part<QPlainTextEdit>(form, "mText")->toPlainText().startsWith("we hold these truths"));
    }

    void openFolderWithoutUnknownAsksForIt() {
        TFormFixture f;
        TForm1& form = *f.Form;
        QTemporaryDir other;
        WriteFile(other.path() + "/Someone/a.txt", "text\r\n");
        f.Dialogs.FolderAnswer = other.path();
        Part<QAction>(form, "acOpen")->trigger();
        QCOMPARE(f.Dialogs.Messages, QStringList({"Please add \"Unknown\" folder for analysis"}));
        // The project open before stays as it was.
        QCOMPARE(TopLevelLabels(Part<TAuthorTreeView>(form, "tvAuthors")), QStringList({"Unknown", "Alpha", "Beta"}));
        QVERIFY(f.Dialogs.Errors.isEmpty());
        QCOMPARE(Part<QTabWidget>(form, "PageControl1")->currentWidget(), Part(form, "tbAuthors"));
    }

    void helpOpensTheDocumentBesideTheExecutable() {
        TFormFixture f;
        TForm1& form = *f.Form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTest::keyClick(Part<QPlainTextEdit>(form, "mText"), Qt::Key_F1);
        QCOMPARE(f.Shell.Opened, QStringList({f.Folder.executableDir() + "Quillprint.pdf"}));
        QVERIFY(f.Dialogs.Messages.isEmpty());
        // Without a viewer the user is told where the help is.
        f.Shell.ViewerStarts = false;
        QTest::keyClick(Part<QPlainTextEdit>(form, "mText"), Qt::Key_F1);
        QCOMPARE(f.Dialogs.Messages.size(), 1);
        QVERIFY(f.Dialogs.Messages.first().contains(f.Folder.executableDir() + "Quillprint.pdf"));
    }

    void extractAndValidationChangeNoTable() {
        TFormFixture f;
        TForm1& form = *f.Form;
        Part<QAction>(form, "Action1")->trigger();
        FinishCalculation(form);
        UserSelectsPage(form, Part(form, "tbAuthors"));
        // Every cell of the filled tables, taken before either command runs.
        const auto snapshot = [&form] {
            return QStringList{QString::fromStdU16String(CopyGrid(form.workspace().Results().ResultTable())),
                               QString::fromStdU16String(CopyGrid(form.workspace().Results().AnalysisTable()))};
        };
        const QStringList before = snapshot();
        QVERIFY(before.at(0).contains("Alpha"));

        Part<QAction>(form, "Action2")->trigger();

        FinishWindowJob(form);
        QCOMPARE(snapshot(), before);
        // The tree holds "Unknown" first, which validation leaves out.
        Part<QAction>(form, "acValidation")->trigger();
        FinishCalculation(form);
        QCOMPARE(snapshot(), before);
        QCOMPARE(Part<QTabWidget>(form, "PageControl1")->currentWidget(), Part(form, "tbAuthors"));
        QVERIFY(form.workspace().Calculated());
        QVERIFY(f.Dialogs.Errors.isEmpty());
    }
};

QUILLPRINT_UI_TEST(Form1Test)
#include "Form1Test.moc"
