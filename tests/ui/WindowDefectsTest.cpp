// Faults found by trying the window as a new user would: renaming authors in
// place, the highlighted entry, access keys in the text view, the look of
// toggles, keyboard moves between tables and pages, drops beside the
// quick-access toolbar, and tree labels cut off by the tree's width.
#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

#include "FormFixture.h"
#include "UiTestProgram.h"
#include "ui/AuthorTreeView.h"
#include "ui/GridView.h"
#include "ui/QuickAccessToolbar.h"
#include "ui/Ribbon.h"
#include "workspace/Workspace.h"

namespace quillprint::test {
namespace {

// "Unknown" with one text, "Hamilton" and "Jay" with three each; every
// text's first line names it.
QString WriteThreeTextProject(const TExampleFolder& folder) {
    const QString dir = folder.executableDir() + "Examples/Papers/";
    WriteFile(dir + "Unknown/u.txt", "unknown text\n");
    for (const char* author : {"Hamilton", "Jay"})
        for (int t = 1; t <= 3; ++t)
            WriteFile(dir + author + "/" + QString::number(t) + ".txt",
                      QByteArray(author) + " text " + QByteArray::number(t) + "\n");
    return dir;
}

QTreeWidgetItem* TopLevel(const QTreeWidget* tree, const QString& label) {
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        if (tree->topLevelItem(i)->text(0) == label) return tree->topLevelItem(i);
    return nullptr;
}

void ClickItem(QTreeWidget* tree, QTreeWidgetItem* item) {
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
}

// The line editor of an in-place edit, if one is open.
QLineEdit* LabelEditor(const QTreeWidget* tree) {
    for (QLineEdit* editor : tree->findChildren<QLineEdit*>())
        if (editor->isVisible()) return editor;
    return nullptr;
}

QToolButton* RibbonButtonFor(const TForm1& form, const QAction* action) {
    for (QToolButton* button : Part<TRibbon>(form, "Ribbon1")->findChildren<QToolButton*>("ribbonSmallButton"))
        if (button->defaultAction() == action) return button;
    return nullptr;
}

struct TShownForm : TFormFixture {
    TShownForm() {
        Form->show();
        if (!QTest::qWaitForWindowActive(Form.get())) qWarning("the window did not become active");
    }
};

}  // namespace

class WindowDefectsTest : public QObject {
    Q_OBJECT

private slots:
    // D1
    void everyAuthorLabelCanBeRenamedInPlace_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("F2") << "F2";
        QTest::newRow("slow second click") << "slow second click";
        QTest::newRow("context menu Rename") << "Rename";
    }
    void everyAuthorLabelCanBeRenamedInPlace() {
        QFETCH(QString, how);
        TShownForm f;
        TForm1& form = *f.Form;
        f.Dialogs.FolderAnswer = WriteThreeTextProject(f.Folder);
        Part<QAction>(form, "acOpen")->trigger();
        QTreeWidgetItem* jay = TopLevel(Part<TAuthorTreeView>(form, "tvAuthors"), "Jay");
        ClickItem(Part<TAuthorTreeView>(form, "tvAuthors"), jay);
        QCOMPARE(Part<TAuthorTreeView>(form, "tvAuthors")->currentItem(),
                 jay->child(0));  // the author's first text is shown

        if (how == "F2") {
            QTest::keyClick(Part<TAuthorTreeView>(form, "tvAuthors"), Qt::Key_F2);
        } else if (how == "slow second click") {
            QTest::qWait(QApplication::doubleClickInterval() + 100);
            ClickItem(Part<TAuthorTreeView>(form, "tvAuthors"), jay);
        } else {
            QMenu* menu = Part<TAuthorTreeView>(form, "tvAuthors")->contextMenuFor(jay);
            QVERIFY(menu);
            QAction* rename = nullptr;
            for (QAction* entry : menu->actions())
                if (entry->text() == "Rename") rename = entry;
            QVERIFY(rename);
            rename->trigger();
        }
        QLineEdit* editor = LabelEditor(Part<TAuthorTreeView>(form, "tvAuthors"));
        QVERIFY(editor);
        QCOMPARE(editor->text(), QString("Jay"));
        editor->selectAll();
        QTest::keyClicks(editor, "John Jay");
        QTest::keyClick(editor, Qt::Key_Return);  // the edit ends on the next turn of the event loop
        QTRY_COMPARE(QString::fromStdU16String(form.workspace().Project().Tree().Authors().at(2)->Label()),
                     QString("John Jay"));
        QCOMPARE(QString::fromStdU16String(form.workspace().Project().Tree().Authors().at(2)->Texts().at(0)->Label()),
                 QString("1.txt"));
    }

    void closingTheWindowDuringAnEditLosesNothingAndDoesNotCrash() {
        TShownForm f;
        Part<TAuthorTreeView>(*f.Form, "tvAuthors")
            ->editItem(Part<TAuthorTreeView>(*f.Form, "tvAuthors")->topLevelItem(0));
        QVERIFY(LabelEditor(Part<TAuthorTreeView>(*f.Form, "tvAuthors")));
        f.Form.reset();
    }

    void renameIsOfferedForTextsToo() {
        TShownForm f;
        TForm1& form = *f.Form;
        QTreeWidgetItem* text = Part<TAuthorTreeView>(form, "tvAuthors")->topLevelItem(0)->child(0);
        QMenu* menu = Part<TAuthorTreeView>(form, "tvAuthors")->contextMenuFor(text);
        QVERIFY(menu);
        menu->actions().first()->trigger();
        QLineEdit* editor = LabelEditor(Part<TAuthorTreeView>(form, "tvAuthors"));
        QVERIFY(editor);
        QCOMPARE(editor->text(), QString("disputed.txt"));
    }

    // D2
    void theHighlightedEntryIsAlwaysTheOneShown() {
        TShownForm f;
        TForm1& form = *f.Form;
        f.Dialogs.FolderAnswer = WriteThreeTextProject(f.Folder);
        Part<QAction>(form, "acOpen")->trigger();
        for (const char* author : {"Hamilton", "Jay", "Hamilton", "Unknown"}) {
            ClickItem(Part<TAuthorTreeView>(form, "tvAuthors"),
                      TopLevel(Part<TAuthorTreeView>(form, "tvAuthors"), author));
            QTreeWidgetItem* first = TopLevel(Part<TAuthorTreeView>(form, "tvAuthors"), author)->child(0);
            QCOMPARE(Part<TAuthorTreeView>(form, "tvAuthors")->currentItem(), first);
            QCOMPARE(Part<TAuthorTreeView>(form, "tvAuthors")->selectedItems(), QList<QTreeWidgetItem*>{first});
            QCOMPARE(Part<QPlainTextEdit>(form, "mText")->toPlainText().section(' ', 0, 0).toLower(),
                     QString(author).toLower());
        }
    }

    // D3
    void accessKeysRunTheirCommandsFromTheTextView() {
        TShownForm f;
        TForm1& form = *f.Form;
        Part<QAction>(form, "acNew")->trigger();
        QVERIFY(!Part<QPlainTextEdit>(form, "mText")->isReadOnly());
        Part<QPlainTextEdit>(form, "mText")->setFocus();
        QSignalSpy help(Part<QAction>(form, "acHelp"), &QAction::triggered);
        QTest::keyClick(Part<QPlainTextEdit>(form, "mText"), Qt::Key_H, Qt::AltModifier);
        QCOMPARE(help.count(), 1);
        QCOMPARE(Part<QPlainTextEdit>(form, "mText")->toPlainText(), QString());
        QSignalSpy presidents(Part<QAction>(form, "acPresidents"), &QAction::triggered);
        QTest::keyClick(Part<QPlainTextEdit>(form, "mText"), Qt::Key_P, Qt::AltModifier);
        QCOMPARE(presidents.count(), 1);
    }

    // D4
    void togglesLookPressedWhileOn() {
        TShownForm f;
        TForm1& form = *f.Form;
        for (QAction* toggle : {Part<QAction>(form, "acBalance"), Part<QAction>(form, "acEachText")}) {
            QToolButton* button = RibbonButtonFor(form, toggle);
            QVERIFY(button);
            const QImage off = button->grab().toImage();
            toggle->trigger();
            QVERIFY(button->isChecked());
            const QImage on = button->grab().toImage();
            QVERIFY2(on != off, qPrintable(toggle->objectName()));
            toggle->trigger();
            QCOMPARE(button->grab().toImage(), off);
        }
    }

    // D7
    void tabLeavesATableAndCtrlTabChangesPageFromAnywhere() {
        TShownForm f;
        TForm1& form = *f.Form;
        Part<QAction>(form, "Action1")->trigger();
        FinishCalculation(form);
        QCOMPARE(Part<QTabWidget>(form, "PageControl1")->currentWidget(), Part(form, "tbResult"));
        Part<TGridView>(form, "sgResult")->setFocus();
        QVERIFY(Part<TGridView>(form, "sgResult")->hasFocus());
        QTest::keyClick(Part<TGridView>(form, "sgResult"), Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != Part<TGridView>(form, "sgResult"));

        Part<TGridView>(form, "sgResult")->setFocus();
        QTest::keyClick(Part<TGridView>(form, "sgResult"), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(Part<QTabWidget>(form, "PageControl1")->currentWidget(), Part(form, "tbStylometry"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(Part<QTabWidget>(form, "PageControl1")->currentWidget(), Part(form, "tbResult"));
        // The hidden page "Texts" is passed over: from "Stylometry" on to "Input data".
        Part<QTabWidget>(form, "PageControl1")->setCurrentWidget(Part(form, "tbStylometry"));
        Part<QPlainTextEdit>(form, "mText")->setFocus();
        QTest::keyClick(Part<QPlainTextEdit>(form, "mText"), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(Part<QTabWidget>(form, "PageControl1")->currentWidget(), Part(form, "tbAuthors"));
    }

    // D8
    void aCommandDroppedBesideTheToolbarButtonsIsAdded() {
        TShownForm f;
        TForm1& form = *f.Form;
        TQuickAccessToolbar* toolbar = Part<TRibbon>(form, "Ribbon1")->quickAccessToolbar();
        QVERIFY(!toolbar->commands().contains(Part<QAction>(form, "acAddText")));
        // A point in the title bar right of the toolbar, where no button is.
        const QPoint beside = toolbar->mapTo(&form, QPoint(toolbar->width() + 30, toolbar->height() / 2));
        QWidget* target = form.childAt(beside);
        QVERIFY(target);
        QVERIFY(target != toolbar && !toolbar->isAncestorOf(target));
        QMimeData mime;
        mime.setData(TQuickAccessToolbar::CommandMimeType, "acAddText");
        const QPoint local = target->mapFrom(&form, beside);
        QDragEnterEvent enter(local, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(local), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        QVERIFY(toolbar->commands().contains(Part<QAction>(form, "acAddText")));
    }

    void aTreeLabelCutOffByTheTreeShowsWhole() {
        TFormFixture f;
        TForm1& form = *f.Form;
        const QString dir = f.Folder.executableDir() + "Examples/Long/";
        const QString longName = "The Collected Speeches and Letters of a Candidate With a Very Long Name";
        WriteFile(dir + "Unknown/u.txt", "unknown text\n");
        WriteFile(dir + longName + "/a.txt", "a text\n");
        WriteFile(dir + "Jay/j.txt", "a text\n");
        f.Dialogs.FolderAnswer = dir;
        Part<QAction>(form, "acOpen")->trigger();
        Part<TAuthorTreeView>(form, "tvAuthors")->setFixedWidth(160);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const auto toolTipOf = [&](const QString& label) {
            // A hidden tooltip fades out for a moment before it is gone.
            QToolTip::hideText();
            if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); })) return QString("(tooltip still shown)");
            const QPoint at = Part<TAuthorTreeView>(form, "tvAuthors")
                                  ->visualItemRect(TopLevel(Part<TAuthorTreeView>(form, "tvAuthors"), label))
                                  .center();
            QHelpEvent event(QEvent::ToolTip, at,
                             Part<TAuthorTreeView>(form, "tvAuthors")->viewport()->mapToGlobal(at));
            QApplication::sendEvent(Part<TAuthorTreeView>(form, "tvAuthors")->viewport(), &event);
            return QToolTip::isVisible() ? QToolTip::text() : QString();
        };
        QCOMPARE(toolTipOf(longName), longName);
        QCOMPARE(toolTipOf("Jay"), QString());
    }
};

}  // namespace quillprint::test

QUILLPRINT_UI_TEST(quillprint::test::WindowDefectsTest)
#include "WindowDefectsTest.moc"
