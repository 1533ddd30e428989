// Drag and drop: a folder dropped on the window opens as the project; text
// files dropped on an author (or one of its texts) become in-memory texts of
// that author, read as project files are and never written; nothing is
// taken while a calculation runs.
#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>
#include <QUrl>

#include "FormFixture.h"
#include "UiTestProgram.h"
#include "ui/AuthorTreeView.h"
#include "ui/ProjectDrops.h"
#include "ui/RecentProjects.h"
#include "workspace/Workspace.h"

namespace quillprint::test {
namespace {

std::unique_ptr<QMimeData> Paths(const QStringList& paths) {
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString& path : paths) urls.append(QUrl::fromLocalFile(path));
    data->setUrls(urls);
    return data;
}

// Drags `data` over `widget` to `pos` and drops it there when every step
// is accepted; true when the drop was taken.
bool Drop(QWidget* widget, const QPoint& pos, const QMimeData& data) {
    QDragEnterEvent enter(pos, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &enter);
    if (!enter.isAccepted()) return false;
    QDragMoveEvent move(pos, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
    if (!move.isAccepted()) return false;
    QDropEvent drop(QPointF(pos), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &drop);
    QCoreApplication::processEvents();
    return drop.isAccepted();
}

QPoint CentreOf(const TForm1& form, const TTreeNode& node) {
    return Part<TAuthorTreeView>(form, "tvAuthors")
        ->visualItemRect(Part<TAuthorTreeView>(form, "tvAuthors")->itemFor(&node))
        .center();
}

QStringList Labels(const TTreeNode& author) {
    QStringList labels;
    for (const auto& text : author.Texts()) labels.append(QString::fromStdU16String(text->Label()));
    return labels;
}

}  // namespace

class ProjectDropsTest : public QObject {
    Q_OBJECT

private slots:
    void whatADragCarries() {
        QTemporaryDir dir;
        WriteFile(dir.path() + "/a.txt", "a");
        WriteFile(dir.path() + "/b.txt", "b");
        const QString folder = dir.path() + "/Unknown";
        QVERIFY(QDir().mkpath(folder));
        auto check = [](const QMimeData& data, const QString& folder, const QStringList& files) {
            const TDroppedPaths paths = DroppedPaths(&data);
            QCOMPARE(paths.Folder, folder);
            QCOMPARE(paths.Files, files);
        };
        check(*Paths({folder}), folder, {});
        check(*Paths({dir.path() + "/a.txt", dir.path() + "/b.txt"}), {},
              {dir.path() + "/a.txt", dir.path() + "/b.txt"});
        check(*Paths({folder, dir.path() + "/a.txt"}), {}, {});
        check(*Paths({folder, dir.path()}), {}, {});
        QMimeData web;
        web.setUrls({QUrl("https://example.org/a.txt")});
        check(web, {}, {});
        QMimeData text;
        text.setText("just text");
        check(text, {}, {});
    }

    void aFolderDroppedAnywhereOpensAsTheProject() {
        TFormFixture f;
        TForm1& form = *f.Form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTemporaryDir other;
        WriteFile(other.path() + "/Unknown/u.txt", "another project");
        WriteFile(other.path() + "/Gamma/g.txt", "gamma");
        for (QWidget* target : {static_cast<QWidget*>(&form), Part<QPlainTextEdit>(form, "mText")->viewport(),
                                Part<TAuthorTreeView>(form, "tvAuthors")->viewport()}) {
            Part<QAction>(form, "acFederalist")->trigger();
            QVERIFY(Drop(target, QPoint(5, 5), *Paths({other.path()})));
            QCOMPARE(QString::fromStdU16String(form.workspace().Project().Folder()), other.path() + "/");
            QCOMPARE(QString::fromStdU16String(form.workspace().Project().Tree().Authors()[1]->Label()),
                     QString("Gamma"));
        }
        QCOMPARE(TRecentProjects().folders().value(0), TRecentProjects::normalized(other.path()));
        // Files and text are not a project: the window and the text view leave them.
        QVERIFY(!Drop(&form, QPoint(5, 5), *Paths({other.path() + "/Gamma/g.txt"})));
        QVERIFY(f.Dialogs.Errors.isEmpty());
    }

    void filesDroppedOnAnAuthorBecomeItsTextsInMemory() {
        TFormFixture f;
        TForm1& form = *f.Form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTemporaryDir outside;
        WriteFile(outside.path() + "/first.txt", "we hold these truths\r\nto be self evident\r\n");
        WriteFile(outside.path() + "/second.txt", "\xef\xbb\xbfthe eyes of the law");
        const TAuthorTree& tree = form.workspace().Project().Tree();
        const TTreeNode& alpha = *tree.Authors()[1];
        const TTreeNode& beta = *tree.Authors()[2];
        QCOMPARE(QString::fromStdU16String(alpha.Label()), QString("Alpha"));

        QVERIFY(Drop(Part<TAuthorTreeView>(form, "tvAuthors")->viewport(), CentreOf(form, alpha),
                     *Paths({outside.path() + "/first.txt", outside.path() + "/second.txt"})));
        // Alpha has a file "first.txt" of its own already.
        QCOMPARE(Labels(alpha), (QStringList{"first.txt", "first.txt (2)", "second.txt"}));
        QCOMPARE(Part<QPlainTextEdit>(form, "mText")->toPlainText(),
                 QString("we hold these truths\nto be self evident"));
        QCOMPARE(Part<TAuthorTreeView>(form, "tvAuthors")->currentItem(),
                 Part<TAuthorTreeView>(form, "tvAuthors")->itemFor(alpha.Texts()[1].get()));
        QCOMPARE(alpha.Texts()[2]->Text()->Lines, TLines{u"the eyes of the law"});

        // Dropped on a text entry, the files go to its author.
        QVERIFY(Drop(Part<TAuthorTreeView>(form, "tvAuthors")->viewport(), CentreOf(form, *alpha.Texts()[0]),
                     *Paths({outside.path() + "/second.txt"})));
        QCOMPARE(Labels(alpha).last(), QString("second.txt (2)"));
        QCOMPARE(Labels(beta), QStringList{"second.txt"});

        // Files dropped where there is no entry, or on the text view, add nothing.
        const int below = Part<TAuthorTreeView>(form, "tvAuthors")->viewport()->height() - 2;
        QVERIFY(!Drop(Part<TAuthorTreeView>(form, "tvAuthors")->viewport(), QPoint(5, below),
                      *Paths({outside.path() + "/first.txt"})));
        QCOMPARE(alpha.Texts().size(), size_t(4));
        QVERIFY(f.Dialogs.Errors.isEmpty());
        // The files stay as they were, and none was written beside them.
        QCOMPARE(QDir(outside.path()).entryList(QDir::Files), (QStringList{"first.txt", "second.txt"}));
    }

    void anUnreadableFileIsReportedAndAddsNothing() {
        TFormFixture f;
        TForm1& form = *f.Form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTemporaryDir outside;
        WriteFile(outside.path() + "/good.txt", "fine");
        const QString gone = outside.path() + "/gone.txt";
        const TTreeNode& alpha = *form.workspace().Project().Tree().Authors()[1];
        QVERIFY(Drop(Part<TAuthorTreeView>(form, "tvAuthors")->viewport(), CentreOf(form, alpha),
                     *Paths({outside.path() + "/good.txt", gone})));
        QCOMPARE(f.Dialogs.Errors.size(), 1);
        QVERIFY2(f.Dialogs.Errors[0].startsWith("Cannot open file \"" + gone + "\""), qPrintable(f.Dialogs.Errors[0]));
        QCOMPARE(alpha.Texts().size(), size_t(1));
    }

    void nothingIsTakenWhileACalculationRuns() {
        TFormFixture f;
        TForm1& form = *f.Form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTemporaryDir outside;
        WriteFile(outside.path() + "/first.txt", "text");
        WriteFile(outside.path() + "/Unknown/u.txt", "another project");
        const TTreeNode& alpha = *form.workspace().Project().Tree().Authors()[1];
        const QPoint onAlpha = CentreOf(form, alpha);
        Part<QAction>(form, "Action1")->trigger();
        QVERIFY(form.calculationRunning());
        auto files = Paths({outside.path() + "/first.txt"});
        QDragEnterEvent enter(onAlpha, Qt::CopyAction, files.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(Part<TAuthorTreeView>(form, "tvAuthors")->viewport(), &enter);
        QVERIFY(!enter.isAccepted());
        auto folder = Paths({outside.path()});
        QDragEnterEvent folderEnter(QPoint(5, 5), Qt::CopyAction, folder.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&form, &folderEnter);
        QVERIFY(!folderEnter.isAccepted());
        FinishCalculation(form);
        QCOMPARE(alpha.Texts().size(), size_t(1));
        QVERIFY(QString::fromStdU16String(form.workspace().Project().Folder()) != outside.path() + "/");
    }
};

}  // namespace quillprint::test

QUILLPRINT_UI_TEST(quillprint::test::ProjectDropsTest)
#include "ProjectDropsTest.moc"
