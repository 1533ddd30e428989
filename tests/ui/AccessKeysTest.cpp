// Access keys: every command of the ribbon and every button of a dialog has
// a letter of its own, Alt + letter runs it, and the letters are underlined
// only while Alt is held.
#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <map>
#include <memory>

#include "FormFixture.h"
#include "UiTestProgram.h"
#include "ui/AuthorTreeView.h"
#include "ui/CopiedPassagesDialog.h"
#include "ui/CrossValidationDialog.h"
#include "ui/ExtractDialog.h"
#include "ui/QuickAccessCustomizeDialog.h"
#include "ui/QuickAccessToolbar.h"
#include "ui/Ribbon.h"
#include "ui/RibbonGroup.h"
#include "ui/ValidationReportDialog.h"

using namespace quillprint;
using namespace quillprint::test;

namespace {

struct TShownForm : TFormFixture {
    TShownForm() {
        Form->show();
        if (!QTest::qWaitForWindowActive(Form.get())) qWarning("the window did not become active");
    }
};

// The ribbon's command buttons, group by group.
QList<QToolButton*> RibbonButtons(const TForm1& form) {
    QList<QToolButton*> buttons;
    for (const TRibbonGroup* group : Part<TRibbon>(form, "Ribbon1")->findChildren<TRibbonGroup*>())
        for (QToolButton* button : group->findChildren<QToolButton*>())
            if (button->defaultAction()) buttons.append(button);
    return buttons;
}

// "name: letter" for every captioned button and every label with a buddy
// shown in `dialog`, "name: none" for one without a letter.
QStringList AccessKeysOf(const QWidget* dialog) {
    QStringList keys;
    auto add = [&](const QString& caption) {
        const QKeySequence key = QKeySequence::mnemonic(caption);
        keys.append(QString(caption).remove('&') + ": " + (key.isEmpty() ? QString("none") : key.toString()));
    };
    for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
        if (button->isVisibleTo(dialog) && !button->text().isEmpty()) add(button->text());
    for (const QLabel* label : dialog->findChildren<QLabel*>())
        if (label->buddy()) add(label->text());
    return keys;
}

// Counts the paint events of a widget.
class TPaintCounter : public QObject {
public:
    explicit TPaintCounter(QWidget* widget) : QObject(widget) { widget->installEventFilter(this); }
    int Count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++Count;
        return false;
    }
};

// Presses Alt in the active window of `captioned` and releases it: the
// caption changes while it is held (its letter underlined) and is drawn
// again at once, and looks as before once Alt is released.
void ExpectUnderlinedWhileAltIsHeld(QWidget* captioned) {
    const QImage plain = captioned->grab().toImage();
    auto* paints = new TPaintCounter(captioned);
    QTest::keyPress(captioned->window(), Qt::Key_Alt, Qt::AltModifier);
    QTRY_VERIFY(paints->Count > 0);
    QVERIFY(captioned->grab().toImage() != plain);
    paints->Count = 0;
    QTest::keyRelease(captioned->window(), Qt::Key_Alt);
    QTRY_VERIFY(paints->Count > 0);
    QCOMPARE(captioned->grab().toImage(), plain);
    delete paints;
}

}  // namespace

class AccessKeysTest : public QObject {
    Q_OBJECT

private slots:
    void everyRibbonCommandHasALetterOfItsOwnThatRunsIt() {
        TShownForm f;
        TForm1& form = *f.Form;
        const QList<QToolButton*> buttons = RibbonButtons(form);
        QVERIFY(buttons.size() >= 17);
        // The commands only report that they ran: none opens a dialog.
        QList<std::shared_ptr<QSignalSpy>> spies;
        for (QToolButton* button : buttons) {
            QObject::disconnect(button->defaultAction(), nullptr, &form, nullptr);
            spies.append(std::make_shared<QSignalSpy>(button->defaultAction(), &QAction::triggered));
        }
        QSet<QKeySequence> seen;
        for (int i = 0; i < buttons.size(); ++i) {
            const QString caption = buttons[i]->defaultAction()->text();
            const QKeySequence key = QKeySequence::mnemonic(caption);
            QVERIFY2(!key.isEmpty(), qPrintable(caption));
            QVERIFY2(!seen.contains(key), qPrintable(caption + " shares " + key.toString()));
            seen.insert(key);
            const auto letter = Qt::Key(key[0].key());
            QTest::keyClick(Part<TAuthorTreeView>(form, "tvAuthors"), letter, Qt::AltModifier);
            for (int j = 0; j < buttons.size(); ++j)
                QVERIFY2(spies[j]->count() == (j == i ? 1 : 0),
                         qPrintable(key.toString() + " ran " + buttons[j]->defaultAction()->text() + " " +
                                    QString::number(spies[j]->count()) + " times"));
            spies[i]->clear();
        }
    }

    void everyTabPageHasALetterOfItsOwnThatShowsIt() {
        TShownForm f;
        TForm1& form = *f.Form;
        // Current results with "Texts" shown: a page change calculates nothing.
        Part<QAction>(form, "acEachText")->setChecked(true);
        Part<QAction>(form, "Action1")->trigger();
        FinishCalculation(form);
        QSet<QKeySequence> seen;
        for (const QToolButton* button : RibbonButtons(form))
            seen.insert(QKeySequence::mnemonic(button->defaultAction()->text()));
        QTabWidget& pages = *Part<QTabWidget>(form, "PageControl1");
        for (int i = pages.count() - 1; i >= 0; --i) {
            QVERIFY2(pages.isTabVisible(i), qPrintable(pages.tabText(i)));
            const QKeySequence key = QKeySequence::mnemonic(pages.tabText(i));
            QVERIFY2(!key.isEmpty(), qPrintable(pages.tabText(i)));
            QVERIFY2(!seen.contains(key), qPrintable(pages.tabText(i) + " shares " + key.toString()));
            seen.insert(key);
            QTest::keyClick(Part<TAuthorTreeView>(form, "tvAuthors"), Qt::Key(key[0].key()), Qt::AltModifier);
            QCOMPARE(pages.currentIndex(), i);
            QVERIFY(!form.calculationRunning());
        }
        QVERIFY(f.Dialogs.Errors.isEmpty());
    }

    void underlinesShowOnlyWhileAltIsHeld() {
        TFormFixture f;
        TForm1& form = *f.Form;
        QToolButton* balance = nullptr;
        for (QToolButton* button : RibbonButtons(form))
            if (button->defaultAction() == Part<QAction>(form, "acBalance")) balance = button;
        QVERIFY(balance);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        ExpectUnderlinedWhileAltIsHeld(balance);
        // Alt with Ctrl is no access key.
        const QImage plain = balance->grab().toImage();
        QTest::keyPress(balance->window(), Qt::Key_Alt, Qt::AltModifier | Qt::ControlModifier);
        QCOMPARE(balance->grab().toImage(), plain);
        QTest::keyRelease(balance->window(), Qt::Key_Alt);
        form.hide();

        // The dialogs follow the same key.
        TValidationReportDialog dialog;
        QPushButton* copy = nullptr;
        for (QPushButton* button : dialog.findChildren<QPushButton*>())
            if (button->text() == "&Copy") copy = button;
        QVERIFY(copy);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        ExpectUnderlinedWhileAltIsHeld(copy);
    }

    void everyDialogButtonHasALetterOfItsOwn_data() {
        QTest::addColumn<QString>("dialog");
        QTest::newRow("Validation") << "Validation";
        QTest::newRow("Cross-validation") << "Cross-validation";
        QTest::newRow("Copied passages") << "Copied passages";
        QTest::newRow("Extract") << "Extract";
        QTest::newRow("Customize") << "Customize";
    }
    void everyDialogButtonHasALetterOfItsOwn() {
        QFETCH(QString, dialog);
        TFormFixture f;
        TForm1& form = *f.Form;
        const std::map<QString, std::function<QWidget*()>> make = {
            {"Validation", [&]() -> QWidget* { return new TValidationReportDialog(&form); }},
            {"Cross-validation", [&]() -> QWidget* { return new TCrossValidationDialog(&form); }},
            {"Copied passages", [&]() -> QWidget* { return new TCopiedPassagesDialog(&form); }},
            {"Extract",
             [&]() -> QWidget* {
                 return new TExtractDialog({{u"Ann,+1,", u"Ann", 3}, {u"Bob,+2,", u"Bob", 4}}, "chat.txt", &form);
             }},
            {"Customize", [&]() -> QWidget* { return Part<TRibbon>(form, "Ribbon1")->showCustomizeDialog(); }},
        };
        QWidget* window = make.at(dialog)();
        const QStringList keys = AccessKeysOf(window);
        QVERIFY2(keys.size() >= 2, qPrintable(keys.join(", ")));
        QSet<QString> letters;
        for (const QString& entry : keys) {
            const QString letter = entry.section(": ", 1);
            QVERIFY2(letter != "none", qPrintable(dialog + ": " + keys.join(", ")));
            QVERIFY2(!letters.contains(letter), qPrintable(dialog + ": " + keys.join(", ")));
            letters.insert(letter);
        }
    }

    void altAndALetterPressTheDialogsButton() {
        TFormFixture f;
        auto* dialog = new TCrossValidationDialog(f.Form.get());
        dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        auto* asDisputed = dialog->findChild<QCheckBox*>("CrossValidationAsDisputed");
        QVERIFY(asDisputed->isChecked());
        QTest::keyClick(dialog, Qt::Key_D, Qt::AltModifier);
        QTRY_VERIFY(!asDisputed->isChecked());
        QSignalSpy run(dialog, &TCrossValidationDialog::runRequested);
        QTest::keyClick(dialog, Qt::Key_R, Qt::AltModifier);
        QTRY_COMPARE(run.count(), 1);
    }

    // Last: the commands it adds to the quick-access toolbar are kept.
    void quickAccessCommandsRunByAltAndTheirPlace() {
        TShownForm f;
        TForm1& form = *f.Form;
        TQuickAccessToolbar& quickAccess = *Part<TRibbon>(form, "Ribbon1")->quickAccessToolbar();
        // The commands no ribbon group shows have a key once on the toolbar.
        const QList<QAction*> added = {Part<QAction>(form, "acAddText"), Part<QAction>(form, "acCandidates"),
                                       Part<QAction>(form, "acAuthors"), Part<QAction>(form, "acValidation")};
        for (QAction* command : added) quickAccess.addCommand(command);
        QList<QAction*> shown = {Part<QAction>(form, "acNew"), Part<QAction>(form, "acOpen"),
                                 Part<QAction>(form, "Action1")};
        shown += added;
        std::map<QAction*, std::shared_ptr<QSignalSpy>> spies;
        for (QAction* command : shown) {
            QObject::disconnect(command, nullptr, &form, nullptr);
            spies[command] = std::make_shared<QSignalSpy>(command, &QAction::triggered);
        }
        const auto expectRuns = [&](int place, QAction* expected) {
            QTest::keyClick(Part<TAuthorTreeView>(form, "tvAuthors"), Qt::Key(Qt::Key_0 + place), Qt::AltModifier);
            for (auto& [command, spy] : spies) {
                QVERIFY2(
                    spy->count() == (command == expected ? 1 : 0),
                    qPrintable(QString("Alt+%1 ran %2 %3 times").arg(place).arg(command->text()).arg(spy->count())));
                spy->clear();
            }
        };
        for (int place = 1; place <= shown.size(); ++place) {
            expectRuns(place, shown[place - 1]);
            if (QTest::currentTestFailed()) return;
        }
        // A hidden command gives up its place to the next.
        quickAccess.setCommandShown(Part<QAction>(form, "acNew"), false);
        expectRuns(1, Part<QAction>(form, "acOpen"));
        expectRuns(7, nullptr);
        quickAccess.setCommandShown(Part<QAction>(form, "acNew"), true);
        // The place shows on the button while Alt is held.
        ExpectUnderlinedWhileAltIsHeld(quickAccess.buttonFor(Part<QAction>(form, "acAddText")));
    }
};

QUILLPRINT_UI_TEST(AccessKeysTest)
#include "AccessKeysTest.moc"
