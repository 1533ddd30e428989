// The ribbon of the main window: its groups and buttons, access keys, the
// quick-access toolbar with its drop-down, the right-click menu and the
// customisation dialog.
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

#include "FormFixture.h"
#include "UiTestProgram.h"
#include "ui/AuthorTreeView.h"
#include "ui/QuickAccessCustomizeDialog.h"
#include "ui/QuickAccessToolbar.h"
#include "ui/Ribbon.h"
#include "ui/RibbonGroup.h"

using namespace quillprint;
using namespace quillprint::test;

namespace {

// Entry texts of a menu, separators as "-".
QStringList Entries(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) texts.append(action->isSeparator() ? "-" : action->text());
    return texts;
}

QMenu* OpenQuickAccessMenu(TRibbon* ribbon) {
    QMenu* menu = ribbon->quickAccessToolbar()->dropDownMenu();
    emit menu->aboutToShow();
    return menu;
}

QAction* EntryNamed(const QMenu* menu, const QString& text) {
    for (QAction* action : menu->actions())
        if (action->text() == text) return action;
    return nullptr;
}

// "caption: large|small button, ..." for every group, left to right.
QStringList GroupLayout(const TRibbon* ribbon) {
    QStringList groups;
    for (const TRibbonGroup* group : ribbon->findChildren<TRibbonGroup*>()) {
        QStringList buttons;
        for (const QToolButton* button : group->findChildren<QToolButton*>()) {
            const bool large = button->objectName() == "ribbonLargeButton";
            buttons.append(QString("%1 %2").arg(button->text(), large ? "large" : "small"));
        }
        groups.append(group->caption() + ": " + buttons.join(", "));
    }
    return groups;
}

}  // namespace

class RibbonTest : public QObject {
    Q_OBJECT

private slots:
    void mainTabHoldsTheFourGroups() {
        TFormFixture f;
        TRibbon* ribbon = Part<TRibbon>(*f.Form, "Ribbon1");
        QCOMPARE(ribbon->caption(), QString("Lumeno Quillprint"));
        QCOMPARE(ribbon->tabBar()->count(), 1);
        QCOMPARE(ribbon->tabBar()->tabText(0), QString("Main"));
        QCOMPARE(
            GroupLayout(ribbon),
            QStringList({"Project: New large, Add author small, Open folder small, Extract small, Follow links small",
                         "Examples: Federalist small, Presidents small, Tutorial small",
                         "Calculate: Calculate large, Balance small, Each text small, Split words by language small, "
                         "Leave out copied passages small, Copied passages small, Export report… small, Save as… "
                         "small, Cross-validation small",
                         "Help: Help small"}));
        QCOMPARE(ribbon->height(), 143);
        QVERIFY(ribbon->applicationMenuButton()->menu()->actions().isEmpty());
        // Only the four commands with pictures carry an icon.
        for (QAction* command : f.Form->commandSet()) {
            const bool hasIcon = !command->icon().isNull();
            const bool expected =
                command == Part<QAction>(*f.Form, "acNew") || command == Part<QAction>(*f.Form, "acOpen") ||
                command == Part<QAction>(*f.Form, "Action1") || command == Part<QAction>(*f.Form, "acHelp");
            QCOMPARE(hasIcon, expected);
        }
    }

    void accessKeysAndF1RunTheirCommands_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("command");
        QTest::newRow("Alt+D") << int(Qt::Key_D) << "acAddAuthor";
        QTest::newRow("Alt+P") << int(Qt::Key_P) << "acPresidents";
        QTest::newRow("Alt+T") << int(Qt::Key_T) << "acTutorial";
        QTest::newRow("Alt+H") << int(Qt::Key_H) << "acHelp";
    }
    void accessKeysAndF1RunTheirCommands() {
        QFETCH(int, key);
        QFETCH(QString, command);
        TFormFixture f;
        f.Form->show();
        QVERIFY(QTest::qWaitForWindowActive(f.Form.get()));
        auto* action = f.Form->findChild<QAction*>(command);
        QSignalSpy spy(action, &QAction::triggered);
        QTest::keyClick(Part<TAuthorTreeView>(*f.Form, "tvAuthors"), Qt::Key(key), Qt::AltModifier);
        QCOMPARE(spy.count(), 1);
    }

    void quickAccessToolbarShowsThreeIconsAndItsDropDown() {
        TFormFixture f;
        TForm1& form = *f.Form;
        TQuickAccessToolbar* toolbar = Part<TRibbon>(form, "Ribbon1")->quickAccessToolbar();
        QCOMPARE(toolbar->commands(), QList<QAction*>({Part<QAction>(form, "acNew"), Part<QAction>(form, "acOpen"),
                                                       Part<QAction>(form, "Action1")}));
        for (QAction* command : toolbar->commands())
            QCOMPARE(toolbar->buttonFor(command)->toolButtonStyle(), Qt::ToolButtonIconOnly);

        QMenu* menu = OpenQuickAccessMenu(Part<TRibbon>(form, "Ribbon1"));
        QCOMPARE(Entries(menu), QStringList({"Customize Quick Access Toolbar...", "New", "Open folder", "Calculate",
                                             "-", "More Commands...", "Show Below the Ribbon", "-",
                                             "Minimize the Ribbon"}));
        QVERIFY(EntryNamed(menu, "Open folder")->isChecked());

        // Unchecking hides the command; it stays listed to be shown again.
        EntryNamed(menu, "Open folder")->setChecked(false);
        QVERIFY(!toolbar->isShown(Part<QAction>(form, "acOpen")));
        menu = OpenQuickAccessMenu(Part<TRibbon>(form, "Ribbon1"));
        QVERIFY(!EntryNamed(menu, "Open folder")->isChecked());

        EntryNamed(menu, "Show Below the Ribbon")->trigger();
        QVERIFY(Part<TRibbon>(form, "Ribbon1")->isQuickAccessBelow());
        menu = OpenQuickAccessMenu(Part<TRibbon>(form, "Ribbon1"));
        QVERIFY(EntryNamed(menu, "Show Above the Ribbon") != nullptr);

        EntryNamed(menu, "Minimize the Ribbon")->trigger();
        QVERIFY(Part<TRibbon>(form, "Ribbon1")->isMinimized());
        QVERIFY(Part<TRibbon>(form, "Ribbon1")->height() < 143);
    }

    void rightClickMenuOffersTheFourEntries() {
        TFormFixture f;
        TForm1& form = *f.Form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QToolButton* federalist = nullptr;
        for (QToolButton* button : Part<TRibbon>(form, "Ribbon1")->findChildren<QToolButton*>())
            if (button->defaultAction() == Part<QAction>(form, "acFederalist")) federalist = button;
        QVERIFY(federalist);

        const QPoint pos = federalist->mapTo(Part<TRibbon>(form, "Ribbon1"), federalist->rect().center());
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, Part<TRibbon>(form, "Ribbon1")->mapToGlobal(pos));
        QApplication::sendEvent(Part<TRibbon>(form, "Ribbon1"), &event);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QCOMPARE(Entries(menu), QStringList({"Add to Quick Access Toolbar", "Customize Quick Access Toolbar...", "-",
                                             "Show Quick Access Toolbar Below the Ribbon", "-",
                                             "Minimize the Ribbon"}));
        EntryNamed(menu, "Add to Quick Access Toolbar")->trigger();
        menu->close();
        QVERIFY(Part<TRibbon>(form, "Ribbon1")->quickAccessToolbar()->isShown(Part<QAction>(form, "acFederalist")));

        // A command already on the toolbar cannot be added twice.
        std::unique_ptr<QMenu> again(
            Part<TRibbon>(form, "Ribbon1")->createContextMenu(Part<QAction>(form, "acFederalist"), &form));
        QVERIFY(!EntryNamed(again.get(), "Add to Quick Access Toolbar")->isEnabled());
    }

    void customisationAddsValidationToTheToolbar() {
        TFormFixture f;
        TForm1& form = *f.Form;
        EntryNamed(OpenQuickAccessMenu(Part<TRibbon>(form, "Ribbon1")), "More Commands...")->trigger();
        auto* dialog = form.findChild<TQuickAccessCustomizeDialog*>();
        QVERIFY(dialog && dialog->isVisible());

        QStringList listed;
        for (int i = 0; i < dialog->commandList()->count(); ++i) listed.append(dialog->commandList()->item(i)->text());
        QCOMPARE(listed, QStringList({"New",
                                      "Add author",
                                      "Open folder",
                                      "Federalist",
                                      "Presidents",
                                      "Tutorial",
                                      "Calculate",
                                      "Help",
                                      "Copy",
                                      "Add text",
                                      "Candidates",
                                      "Authors",
                                      "Validation",
                                      "Extract",
                                      "Balance",
                                      "Each text",
                                      "Split words by language",
                                      "Leave out copied passages",
                                      "Copied passages",
                                      "Export report…",
                                      "Save as…",
                                      "Cross-validation",
                                      "Follow links"}));

        dialog->commandList()->setCurrentRow(listed.indexOf("Validation"));
        dialog->addButton()->click();
        TQuickAccessToolbar* toolbar = Part<TRibbon>(form, "Ribbon1")->quickAccessToolbar();
        QVERIFY(toolbar->isShown(Part<QAction>(form, "acValidation")));
        // The list's drag carries the command for the toolbar.
        std::unique_ptr<QMimeData> dragged(dialog->commandList()->model()->mimeData(
            {dialog->commandList()->model()->index(listed.indexOf("Extract"), 0)}));
        QVERIFY(toolbar->addDroppedCommand(dragged.get()));
        QVERIFY(toolbar->isShown(Part<QAction>(form, "Action2")));
        // Without an icon the toolbar shows the caption.
        QCOMPARE(toolbar->buttonFor(Part<QAction>(form, "acValidation"))->toolButtonStyle(), Qt::ToolButtonTextOnly);

        QSignalSpy spy(Part<QAction>(form, "acValidation"), &QAction::triggered);
        toolbar->buttonFor(Part<QAction>(form, "acValidation"))->click();
        QCOMPARE(spy.count(), 1);
        QVERIFY(f.Dialogs.Errors.isEmpty());
    }

    void draggingACommandOntoTheToolbarAddsIt() {
        TFormFixture f;
        TForm1& form = *f.Form;
        TQuickAccessToolbar* toolbar = Part<TRibbon>(form, "Ribbon1")->quickAccessToolbar();
        QMimeData mime;
        mime.setData(TQuickAccessToolbar::CommandMimeType, "acAddText");
        QVERIFY(toolbar->addDroppedCommand(&mime));
        QVERIFY(toolbar->isShown(Part<QAction>(form, "acAddText")));

        // Anything else dropped there is refused.
        QMimeData other;
        other.setText("acHelp");
        QVERIFY(!toolbar->addDroppedCommand(&other));
        mime.setData(TQuickAccessToolbar::CommandMimeType, "noSuchCommand");
        QVERIFY(!toolbar->addDroppedCommand(&mime));
        QVERIFY(!toolbar->commands().contains(Part<QAction>(form, "acHelp")));
    }
};

QUILLPRINT_UI_TEST(RibbonTest)
#include "RibbonTest.moc"
