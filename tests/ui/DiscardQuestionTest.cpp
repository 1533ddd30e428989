// Texts kept only in memory are never lost without a question: "New",
// "Open folder" and the examples ask first when there are any; No keeps
// everything, Yes goes on; without such texts nothing is asked.
#include <QAction>
#include <QPlainTextEdit>
#include <QTest>

#include "FormFixture.h"
#include "UiTestProgram.h"
#include "workspace/Workspace.h"

namespace quillprint::test {

class DiscardQuestionTest : public QObject {
    Q_OBJECT

private slots:
    void noQuestionWithoutTextsInMemory() {
        TFormFixture f;
        TForm1& form = *f.Form;
        // The example's texts are files; the texts "New" makes are empty.
        Part<QAction>(form, "acNew")->trigger();
        Part<QAction>(form, "acAddAuthor")->trigger();
        Part<QAction>(form, "acFederalist")->trigger();
        f.Dialogs.FolderAnswer = f.Folder.projectDir();
        Part<QAction>(form, "acOpen")->trigger();
        QVERIFY(f.Dialogs.Questions.isEmpty());
        QCOMPARE(form.workspace().Project().Tree().Authors().size(), size_t(3));
    }

    void noKeepsTheTypedTextsAndTheProject_data() {
        QTest::addColumn<QString>("command");
        for (const char* command : {"acNew", "acOpen", "acFederalist", "acPresidents", "acTutorial", "acAuthors",
                                    "acCandidates"})
            QTest::newRow(command) << QString::fromLatin1(command);
    }

    void noKeepsTheTypedTextsAndTheProject() {
        QFETCH(QString, command);
        TFormFixture f;
        TForm1& form = *f.Form;
        QTemporaryDir other;
        WriteFile(other.path() + "/Unknown/u.txt", "another project");
        f.Dialogs.FolderAnswer = other.path();
        Part<QAction>(form, "acNew")->trigger();
        Part<QAction>(form, "acAddAuthor")->trigger();
        // Typed into the text of "Author 1", shown now.
        Part<QPlainTextEdit>(form, "mText")->setPlainText("words typed by hand");
        const QString projectDir = QString::fromStdU16String(form.workspace().Project().Folder());

        f.Dialogs.YesAnswer = false;
        form.findChild<QAction*>(command)->trigger();
        QCOMPARE(f.Dialogs.Questions.size(), 1);
        const TWorkspace& workspace = form.workspace();
        QCOMPARE(workspace.Project().Tree().Authors().size(), size_t(2));
        QCOMPARE(QString::fromStdU16String(workspace.Project().Tree().Authors()[1]->Label()), QString("Author 1"));
        QCOMPARE(Part<QPlainTextEdit>(form, "mText")->toPlainText(), QString("words typed by hand"));
        QCOMPARE(QString::fromStdU16String(workspace.Project().Folder()), projectDir);
        QVERIFY(workspace.Project().HasTypedTexts());

        // Yes goes on, and the typed text is gone with its author.
        f.Dialogs.YesAnswer = true;
        form.findChild<QAction*>(command)->trigger();
        QCOMPARE(f.Dialogs.Questions.size(), 2);
        QVERIFY(!workspace.Project().HasTypedTexts());
        for (const auto& author : workspace.Project().Tree().Authors()) QVERIFY(author->Label() != u"Author 1");
    }

    void aCancelledFolderChooserAsksNothing() {
        TFormFixture f;
        TForm1& form = *f.Form;
        Part<QAction>(form, "acNew")->trigger();
        Part<QPlainTextEdit>(form, "mText")->setPlainText("typed");
        f.Dialogs.FolderAnswer.reset();
        Part<QAction>(form, "acOpen")->trigger();
        QVERIFY(f.Dialogs.Questions.isEmpty());
        QCOMPARE(Part<QPlainTextEdit>(form, "mText")->toPlainText(), QString("typed"));
    }
};

}  // namespace quillprint::test

QUILLPRINT_UI_TEST(quillprint::test::DiscardQuestionTest)
#include "DiscardQuestionTest.moc"
