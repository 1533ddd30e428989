// The toggle "Split words by language" and the hint band on "Result".
#include <QAbstractItemModel>
#include <QAction>
#include <QLabel>
#include <QTest>

#include "FormFixture.h"
#include "UiTestProgram.h"
#include "ui/GridView.h"
#include "workspace/Workspace.h"

namespace quillprint::test {

class SplitWordsTest : public QObject {
    Q_OBJECT

private slots:
    void theToggleSplitsChineseAndTheHintGoes() {
        TFormFixture f;
        TForm1& form = *f.Form;
        QVERIFY(Part<QAction>(form, "acSplitWords")->isCheckable());
        QVERIFY(!Part<QAction>(form, "acSplitWords")->isChecked());
        QVERIFY(form.commandSet().contains(Part<QAction>(form, "acSplitWords")));
        // Only "Wang" shares the phrase 去 学校 读书 with the unknown text.
        QTemporaryDir project;
        WriteFile(project.path() + "/Unknown/u.txt", "他们今天去学校读书。\n我们明天去公园散步。\n");
        WriteFile(project.path() + "/Wang/w.txt", "我们每天去学校读书，很开心。\n");
        WriteFile(project.path() + "/Li/l.txt", "他们昨天在家里看电视。\n");
        f.Dialogs.FolderAnswer = project.path();
        Part<QAction>(form, "acOpen")->trigger();
        auto* hint = form.findChild<QLabel*>("splittingHintBand");
        QVERIFY(hint != nullptr);
        QVERIFY(hint->isHidden());

        Part<QAction>(form, "Action1")->trigger();
        FinishCalculation(form);
        QVERIFY(!hint->isHidden());
        QVERIFY(hint->text().contains("Split words by language"));

        Part<QAction>(form, "acSplitWords")->trigger();
        QVERIFY(form.workspace().Options().SplitWordsByLanguage());
        QVERIFY(!form.workspace().Calculated());
        Part<QAction>(form, "Action1")->trigger();
        FinishCalculation(form);
        QVERIFY(hint->isHidden());
        const QAbstractItemModel* result = Part<TGridView>(form, "sgResult")->model();
        QCOMPARE(result->data(result->index(0, 0), Qt::DisplayRole).toString(), QString("Wang"));
        QVERIFY(f.Dialogs.Errors.isEmpty());
    }
};

}  // namespace quillprint::test

QUILLPRINT_UI_TEST(quillprint::test::SplitWordsTest)
#include "SplitWordsTest.moc"
