// Recent projects: the last eight folders opened, most recent first and
// each once, kept in the user's settings for the next window, offered in the
// drop-down of "Open folder"; folders gone from the disk are left out.
#include <QAction>
#include <QMenu>
#include <QSettings>
#include <QTest>
#include <QToolButton>

#include "FormFixture.h"
#include "UiTestProgram.h"
#include "ui/RecentProjects.h"
#include "ui/Ribbon.h"
#include "workspace/Workspace.h"

namespace quillprint::test {
namespace {

// The menu's entries as the user sees them when it opens.
QList<QAction*> OpenMenu(TForm1& form) {
    emit Part<QMenu>(form, "recentProjectsMenu")->aboutToShow();
    return Part<QMenu>(form, "recentProjectsMenu")->actions();
}

QStringList Folders(const QList<QAction*>& entries) {
    QStringList folders;
    for (const QAction* entry : entries) folders.append(entry->data().toString());
    return folders;
}

}  // namespace

class RecentProjectsTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        UseTemporarySettings();
        QSettings().clear();
    }

    void theSettingsAreATestsOwn() {
        // Guards every test below: nothing may reach the user's settings.
        UseTemporarySettings();
        const QString file = QSettings().fileName();
        QVERIFY2(!file.startsWith(QDir::homePath() + "/.config/"), qPrintable(file));
    }

    void theLastEightFoldersOpenedMostRecentFirst() {
        TFormFixture f;
        TForm1& form = *f.Form;
        QTemporaryDir projects;
        QStringList opened;
        for (int i = 1; i <= 10; ++i) {
            const QString folder = projects.path() + QString("/project %1").arg(i);
            WriteFile(folder + "/Unknown/u.txt", "text");
            opened.prepend(folder);
            f.Dialogs.FolderAnswer = folder + (i == 3 ? "/" : "");  // a trailing separator is the same folder
            Part<QAction>(form, "acOpen")->trigger();
        }
        QCOMPARE(Folders(OpenMenu(form)), opened.mid(0, TRecentProjects::MaxCount));

        // Opening one again moves it to the top, once.
        f.Dialogs.FolderAnswer = opened[4];
        Part<QAction>(form, "acOpen")->trigger();
        const QStringList expected = QStringList{opened[4]} + opened.mid(0, 4) + opened.mid(5, 3);
        QCOMPARE(Folders(OpenMenu(form)), expected);

        // A folder deleted since is not offered, and is forgotten.
        QVERIFY(QDir(opened[0]).removeRecursively());
        QStringList remaining = expected;
        remaining.removeAll(opened[0]);
        QCOMPARE(Folders(OpenMenu(form)), remaining);
        QCOMPARE(TRecentProjects().folders(), remaining);
        QVERIFY(f.Dialogs.Errors.isEmpty());
    }

    void theListOutlivesTheWindowAndAnEntryOpensItsFolder() {
        QTemporaryDir projects;
        const QString first = projects.path() + "/first";
        const QString second = projects.path() + "/second & more";
        WriteFile(first + "/Unknown/u.txt", "one");
        WriteFile(second + "/Unknown/u.txt", "two");
        {
            TFormFixture f;
            for (const QString& folder : {first, second}) {
                f.Dialogs.FolderAnswer = folder;
                Part<QAction>(*f.Form, "acOpen")->trigger();
            }
            // Examples are not projects of the user's.
            Part<QAction>(*f.Form, "acFederalist")->trigger();
        }
        TFormFixture f;
        TForm1& form = *f.Form;
        const QList<QAction*> entries = OpenMenu(form);
        QCOMPARE(Folders(entries), (QStringList{second, first}));
        QCOMPARE(entries[0]->text(), QDir::toNativeSeparators(projects.path()) + "/second && more");
        entries[1]->trigger();
        QCOMPARE(QString::fromStdU16String(form.workspace().Project().Folder()), QDir::toNativeSeparators(first) + "/");
        QCOMPARE(Folders(OpenMenu(form)), (QStringList{first, second}));
    }

    void theDropDownSitsOnOpenFolderAndSaysWhenEmpty() {
        TFormFixture f;
        TForm1& form = *f.Form;
        QToolButton* open = nullptr;
        for (QToolButton* button : Part<TRibbon>(form, "Ribbon1")->findChildren<QToolButton*>())
            if (button->defaultAction() == Part<QAction>(form, "acOpen") && button->menu()) open = button;
        QVERIFY(open);
        QCOMPARE(open->menu(), Part<QMenu>(form, "recentProjectsMenu"));
        QCOMPARE(open->popupMode(), QToolButton::MenuButtonPopup);
        const QList<QAction*> entries = OpenMenu(form);
        QCOMPARE(entries.size(), 1);
        QVERIFY(!entries[0]->isEnabled());
    }
};

}  // namespace quillprint::test

QUILLPRINT_UI_TEST(quillprint::test::RecentProjectsTest)
#include "RecentProjectsTest.moc"
