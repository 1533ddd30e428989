// The toggle "Each text" and the page "Texts" in the window.
#include <QAbstractItemModel>
#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QTabWidget>
#include <QTest>

#include "FormFixture.h"
#include "UiTestProgram.h"
#include "ui/GridView.h"
#include "workspace/Workspace.h"

namespace quillprint::test {
namespace {

// Two candidates of six lines each and two disputed texts, one like each.
void WriteTwoDisputedTextsProject(const QString& dir) {
    WriteSailorAndFarmer(dir);
    WriteFile(dir + "/Unknown/1 sea.txt", "the salt wind fills the old sail\n");
    WriteFile(dir + "/Unknown/2 field.txt", "the brown field waits for rain\n");
}

bool TabShown(const TForm1& form, QWidget* page) {
    return Part<QTabWidget>(form, "PageControl1")->isTabVisible(Part<QTabWidget>(form, "PageControl1")->indexOf(page));
}

// The band above a page that names the text it shows.
QLabel* ShownTextBand(QWidget* page) {
    for (QLabel* label : page->findChildren<QLabel*>())
        if (label->text().startsWith("Text: ")) return label;
    return nullptr;
}

}  // namespace

class EachTextTest : public QObject {
    Q_OBJECT

private slots:
    void eachTextShowsThePageTextsAndEveryTextsOwnTables() {
        TFormFixture f;
        TForm1& form = *f.Form;
        QVERIFY(Part<QAction>(form, "acEachText")->isCheckable());
        QVERIFY(!Part<QAction>(form, "acEachText")->isChecked());
        QVERIFY(form.commandSet().contains(Part<QAction>(form, "acEachText")));
        QVERIFY(!TabShown(form, Part(form, "tbTexts")));

        QTemporaryDir project;
        WriteTwoDisputedTextsProject(project.path());
        f.Dialogs.FolderAnswer = project.path();
        Part<QAction>(form, "acOpen")->trigger();
        Part<QAction>(form, "acEachText")->trigger();
        Part<QAction>(form, "Action1")->trigger();
        FinishCalculation(form);
        QVERIFY(f.Dialogs.Errors.isEmpty());
        QVERIFY(TabShown(form, Part(form, "tbTexts")));
        QCOMPARE(Part<QTabWidget>(form, "PageControl1")->currentWidget(), Part(form, "tbTexts"));

        const QAbstractItemModel* texts = Part<TGridView>(form, "sgTexts")->model();
        QCOMPARE(texts->rowCount(), 2);
        QCOMPARE(Cell(texts, 1, 0), QString("1 sea.txt"));
        QCOMPARE(Cell(texts, 3, 0), QString("Sailor"));
        QCOMPARE(Cell(texts, 3, 1), QString("Farmer"));

        // The first text's tables are shown, and the pages say so.
        QCOMPARE(Cell(Part<TGridView>(form, "sgResult")->model(), 0, 0), QString("Sailor"));
        QLabel* band = ShownTextBand(Part(form, "tbResult"));
        QVERIFY(band);
        QCOMPARE(band->text(), QString("Text: 1 sea.txt"));

        // Selecting the second row shows the second text's run, calculated
        // again in the background.
        Part<TGridView>(form, "sgTexts")->selectRow(1);
        FinishCalculation(form);
        QVERIFY(f.Dialogs.Errors.isEmpty());
        QCOMPARE(Cell(Part<TGridView>(form, "sgResult")->model(), 0, 0), QString("Farmer"));
        QCOMPARE(ShownTextBand(Part(form, "tbAnalysis"))->text(), QString("Text: 2 field.txt"));

        // "Copy" on the page "Texts" copies its table.
        Part<QAction>(form, "miCopy")->trigger();
        QVERIFY(QGuiApplication::clipboard()->text().contains("\t2 field.txt\t"));

        // Off again: the files of "Unknown" are one text and the page goes.
        Part<QAction>(form, "acEachText")->trigger();
        Part<QAction>(form, "Action1")->trigger();
        FinishCalculation(form);
        QVERIFY(!TabShown(form, Part(form, "tbTexts")));
        QVERIFY(!ShownTextBand(Part(form, "tbResult"))->isVisible());
    }
};

}  // namespace quillprint::test

QUILLPRINT_UI_TEST(quillprint::test::EachTextTest)
#include "EachTextTest.moc"
