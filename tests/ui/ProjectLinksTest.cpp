// Links in a project folder: one leading out of the project is shown in the
// tree with its note and never read, until the setting "Follow links out of
// the project" is turned on, which reads the project again and is kept for
// the next start.
#include <QAction>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include "FormFixture.h"
#include "UiTestProgram.h"
#include "ui/AuthorTreeView.h"
#include "workspace/Workspace.h"

namespace quillprint::test {
namespace {

QString ItemText(const TForm1& form, const TTreeNode& node) {
    return Part<TAuthorTreeView>(form, "tvAuthors")->itemFor(&node)->text(0);
}

bool Editable(const TForm1& form, const TTreeNode& node) {
    return Part<TAuthorTreeView>(form, "tvAuthors")->itemFor(&node)->flags().testFlag(Qt::ItemIsEditable);
}

const TTreeNode& Author(const TForm1& form, size_t index) {
    return *form.workspace().Project().Tree().Authors().at(index);
}

}  // namespace

class ProjectLinksTest : public QObject {
    Q_OBJECT

private slots:
    void linksOutOfTheProjectAreShownWithANoteUntilTheSettingFollowsThem() {
        QTemporaryDir outside, project;
        WriteFile(outside.path() + "/key.txt", "the secret key\n");
        WriteFile(outside.path() + "/etc/passwd", "root\n");
        WriteFile(project.path() + "/Unknown/u.txt", "unknown text\n");
        WriteFile(project.path() + "/Bob/b.txt", "bob text\n");
        QVERIFY(QFile::link(outside.path() + "/key.txt", project.path() + "/Bob/notes.txt"));
        QVERIFY(QFile::link(outside.path() + "/etc", project.path() + "/Etc"));

        {
            TFormFixture f;
            TForm1& form = *f.Form;
            QVERIFY(!Part<QAction>(form, "acFollowLinks")->isChecked());
            f.Dialogs.FolderAnswer = project.path();
            Part<QAction>(form, "acOpen")->trigger();
            QVERIFY(f.Dialogs.Errors.isEmpty());
            const TTreeNode& bob = Author(form, 1);
            QCOMPARE(bob.Texts().size(), size_t(2));
            const TTreeNode& notes = *bob.Texts()[1];
            QCOMPARE(ItemText(form, notes), QString("notes.txt (link outside the project, not followed)"));
            QVERIFY(!Editable(form, notes));
            QVERIFY(Editable(form, *bob.Texts()[0]));
            QCOMPARE(ItemText(form, Author(form, 2)), QString("Etc (link outside the project, not followed)"));
            // Selecting it shows nothing of the file.
            Part<TAuthorTreeView>(form, "tvAuthors")
                ->setCurrentItem(Part<TAuthorTreeView>(form, "tvAuthors")->itemFor(&notes));
            QCOMPARE(form.workspace().Project().Selected(), &notes);
            QVERIFY(Part<QPlainTextEdit>(form, "mText")->toPlainText().isEmpty());

            // The setting reads the project again, links followed.
            Part<QAction>(form, "acFollowLinks")->trigger();
            const TTreeNode& followed = *Author(form, 1).Texts()[1];
            QCOMPARE(ItemText(form, followed), QString("notes.txt"));
            QVERIFY(Editable(form, followed));
            QCOMPARE(ItemText(form, *Author(form, 2).Texts().at(0)), QString("passwd"));
            form.close();
        }
        // Kept for the next start.
        TFormFixture next;
        QVERIFY(Part<QAction>(*next.Form, "acFollowLinks")->isChecked());
        QVERIFY(next.Form->workspace().Options().FollowLinks());
        Part<QAction>(*next.Form, "acFollowLinks")->setChecked(false);
        next.Form->close();
    }
};

}  // namespace quillprint::test

QUILLPRINT_UI_TEST(quillprint::test::ProjectLinksTest)
#include "ProjectLinksTest.moc"
