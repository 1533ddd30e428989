// A large text is read and laid out in the background: selecting it never
// blocks the window, a placeholder shows meanwhile, and the text selected
// last is the one shown.
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidget>

#include "FormFixture.h"
#include "UiTestProgram.h"
#include "ui/AuthorTreeView.h"
#include "ui/MemoTextView.h"

using namespace quillprint;
using namespace quillprint::test;

namespace {

// `lines` numbered lines starting with `tag`: a file past the size the
// view reads at once.
QByteArray LargeText(const QByteArray& tag, int lines) {
    QByteArray text;
    for (int i = 0; i < lines; ++i) text += tag + " line " + QByteArray::number(i) + " of a long letter\n";
    return text;
}

QTreeWidgetItem* TextItem(const QTreeWidget* tree, const QString& author, const QString& text) {
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        if (tree->topLevelItem(i)->text(0) == author)
            for (int j = 0; j < tree->topLevelItem(i)->childCount(); ++j)
                if (tree->topLevelItem(i)->child(j)->text(0) == text) return tree->topLevelItem(i)->child(j);
    return nullptr;
}

// As the arrow keys do: the tree shows only the selected entry's author
// expanded, so a click would miss the others' texts.
void Select(QTreeWidget* tree, QTreeWidgetItem* item) {
    QVERIFY(item);
    tree->setCurrentItem(item);
}

}  // namespace

class LargeTextTest : public QObject {
    Q_OBJECT

private slots:
    void aLargeTextIsReadInTheBackgroundAndTheLastSelectionWins() {
        TFormFixture f;
        TForm1& form = *f.Form;
        QTemporaryDir project;
        const QByteArray first = LargeText("first", 20000);
        const QByteArray second = LargeText("second", 20000);
        QVERIFY(first.size() > qsizetype(TMemoTextView::kReadInBackgroundFrom));
        WriteFile(project.path() + "/Hamilton/first.txt", first);
        WriteFile(project.path() + "/Jay/second.txt", second);
        WriteFile(project.path() + "/Jay/short.txt", "a short note\n");
        WriteFile(project.path() + "/Unknown/u.txt", "a short note\n");
        f.Dialogs.FolderAnswer = project.path();
        Part<QAction>(form, "acOpen")->trigger();
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));

        // The click returns before the file is read: a placeholder names it.
        Select(Part<TAuthorTreeView>(form, "tvAuthors"),
               TextItem(Part<TAuthorTreeView>(form, "tvAuthors"), "Hamilton", "first.txt"));
        QCOMPARE(Part<QPlainTextEdit>(form, "mText")->toPlainText(), QString("Reading \"first.txt\"…"));
        QVERIFY(form.textView().loading());
        // A second large text, then a short one, before the first arrives:
        // the short one shows at once and stays.
        Select(Part<TAuthorTreeView>(form, "tvAuthors"),
               TextItem(Part<TAuthorTreeView>(form, "tvAuthors"), "Jay", "second.txt"));
        Select(Part<TAuthorTreeView>(form, "tvAuthors"),
               TextItem(Part<TAuthorTreeView>(form, "tvAuthors"), "Jay", "short.txt"));
        QCOMPARE(Part<QPlainTextEdit>(form, "mText")->toPlainText(), QString("a short note"));
        QTRY_VERIFY_WITH_TIMEOUT(!form.textView().reading(), 30000);
        QCOMPARE(Part<QPlainTextEdit>(form, "mText")->toPlainText(), QString("a short note"));

        // Waited for, the large text shows whole, line by line.
        Select(Part<TAuthorTreeView>(form, "tvAuthors"),
               TextItem(Part<TAuthorTreeView>(form, "tvAuthors"), "Jay", "second.txt"));
        QTRY_VERIFY_WITH_TIMEOUT(!form.textView().loading(), 30000);
        QCOMPARE(Part<QPlainTextEdit>(form, "mText")->toPlainText() + "\n", QString::fromLatin1(second));
        QCOMPARE(Part<QPlainTextEdit>(form, "mText")->document()->blockCount(), 20000);
        QVERIFY(f.Dialogs.Errors.isEmpty());

        // "New" while a large text is read: the empty project stays empty.
        Select(Part<TAuthorTreeView>(form, "tvAuthors"),
               TextItem(Part<TAuthorTreeView>(form, "tvAuthors"), "Hamilton", "first.txt"));
        Part<QAction>(form, "acNew")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!form.textView().reading(), 30000);
        QVERIFY(!Part<QPlainTextEdit>(form, "mText")->toPlainText().contains("first line"));
    }
};

QUILLPRINT_UI_TEST(LargeTextTest)
#include "LargeTextTest.moc"
