// What a user relies on: "Validation" leaves everything shown as it was and
// its report goes only with its own project; a folder that is no project
// changes nothing; "New" and loading a project leave nothing of the old one;
// a tab click shows that tab; a refused calculation is not repeated by tab
// clicks; a rename marks the results out of date; forty candidates keep
// their names readable; the layout holds at any size and is kept across
// restarts; a file that is no text is flagged.
#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QSplitter>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "FormFixture.h"
#include "UiTestProgram.h"
#include "ui/AuthorTreeView.h"
#include "ui/GridView.h"
#include "ui/QuickAccessToolbar.h"
#include "ui/ResultChart.h"
#include "ui/Ribbon.h"
#include "ui/ValidationReportDialog.h"
#include "workspace/Workspace.h"

namespace quillprint::test {
namespace {

// Two candidates of six lines each with phrases of their own, and two
// disputed texts.
QString WriteProject(const QString& dir) {
    WriteSailorAndFarmer(dir);
    WriteFile(dir + "/Unknown/u1.txt", "the salt wind fills the old sail\n");
    WriteFile(dir + "/Unknown/u2.txt", "the brown field waits for rain\n");
    return dir;
}

// `count` candidates of two lines each, with long names that begin alike,
// one of them with characters that mean something in rich text.
QString WriteManyCandidates(const QString& dir, int count) {
    for (int c = 0; c < count; ++c) {
        const QByteArray name =
            (c == 0 ? "Franklin & <i>Eleanor Roosevelt the " : "Franklin Delano Roosevelt Junior the ") +
            QByteArray::number(c + 1);
        WriteFile(dir + "/" + name + "/a.txt",
                  "the common phrase of every speech w" + QByteArray::number(c) + " and more\nline two c" +
                      QByteArray::number(c) + "\n");
    }
    WriteFile(dir + "/Unknown/u.txt", "the common phrase of every speech\n");
    return dir;
}

QToolButton* RibbonButtonFor(const TForm1& form, const QAction* action) {
    for (QToolButton* button : Part<TRibbon>(form, "Ribbon1")->findChildren<QToolButton*>())
        if (button->defaultAction() == action && button->objectName() == "ribbonSmallButton") return button;
    return nullptr;
}

// What the pages show, pictures included.
struct TShown {
    QStringList Result;
    QStringList Chart;
    QStringList Authors;
    bool TextsTab = false;
    QString Band;
    bool BandVisible = false;
    bool operator==(const TShown&) const = default;
};

TShown Shown(TForm1& form) {
    QApplication::processEvents();  // laid out as on screen
    TShown shown;
    // The table's cells with their colours and fonts (a grab would also
    // hold the focus, which the dialog takes).
    const QAbstractItemModel* model = Part<TGridView>(form, "sgResult")->model();
    for (int row = 0; row < model->rowCount(); ++row)
        for (int col = 0; col < model->columnCount(); ++col)
            for (const int role : {Qt::DisplayRole, Qt::ForegroundRole, Qt::FontRole})
                shown.Result.append(model->index(row, col).data(role).toString() + "|" +
                                    model->index(row, col).data(role).value<QColor>().name());
    // The chart's bars with their band colours and the draws' whiskers.
    for (const TScoreBar& bar : Part<TResultChart>(form, "resultChart")->bars())
        shown.Chart.append(QString("%1 %2 %3 %4 %5")
                               .arg(QString::fromStdU16String(bar.Name))
                               .arg(bar.Percent)
                               .arg(static_cast<int>(bar.Colour))
                               .arg(bar.LowestPercent.value_or(-1))
                               .arg(bar.HighestPercent.value_or(-1)));
    for (int i = 0; i < Part<QComboBox>(form, "cbAuthors")->count(); ++i)
        shown.Authors.append(Part<QComboBox>(form, "cbAuthors")->itemText(i));
    shown.TextsTab = Part<QTabWidget>(form, "PageControl1")
                         ->isTabVisible(Part<QTabWidget>(form, "PageControl1")->indexOf(Part(form, "tbTexts")));
    const auto* band = Part(form, "tbResult")->findChild<QLabel*>("shownTextBand");
    shown.Band = band->text();
    shown.BandVisible = band->isVisibleTo(Part(form, "tbResult"));
    return shown;
}

// The texts the chart draws: its labels as the user sees them.
QStringList DrawnTexts(const TResultChart& chart) {
    QStringList texts;
    for (const QGraphicsItem* item : chart.scene()->items())
        if (const auto* text = dynamic_cast<const QGraphicsTextItem*>(item); text && text->isVisible())
            texts.append(text->toPlainText().remove(QChar(0x200B)));
    return texts;
}

// The validation table shows every column up to "Score" at the dialog's
// opening size, none of them cut.
void ExpectScoreShownWithoutScrolling(TValidationReportDialog& dialog) {
    QApplication::processEvents();
    const TGridView& table = *dialog.table();
    const int score = 3;
    QCOMPARE(table.model()->headerData(score, Qt::Horizontal).toString(), QString("Score"));
    QCOMPARE(table.horizontalScrollBar()->value(), 0);
    const int right = table.columnViewportPosition(score) + table.columnWidth(score);
    QVERIFY2(right <= table.viewport()->width(),
             qPrintable(QString("Score ends at %1 of %2").arg(right).arg(table.viewport()->width())));
}

bool OutOfDateShown(const TForm1& form) {
    return Part(form, "tbResult")->findChild<QLabel*>("outOfDateBand")->isVisibleTo(Part(form, "tbResult"));
}

QString ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// A shown window over a project of its own.
struct TProjectForm : TFormFixture {
    QTemporaryDir Project;
    TProjectForm() {
        WriteProject(Project.path());
        Form->resize(1200, 700);
        Form->show();
        Dialogs.FolderAnswer = Project.path();
        Part<QAction>(*Form, "acOpen")->trigger();
    }
    void calculate() {
        Part<QAction>(*Form, "Action1")->trigger();
        FinishCalculation(*Form);
    }
    void validate() {
        Part<QAction>(*Form, "acValidation")->trigger();
        FinishCalculation(*Form);
    }
};

}  // namespace

class DependableWindowTest : public QObject {
    Q_OBJECT

private slots:
    void validationLeavesEveryTableChartPageAndBandAsItWas_data() {
        QTest::addColumn<bool>("eachText");
        QTest::addColumn<bool>("balance");
        QTest::newRow("one text") << false << false;
        QTest::newRow("each text") << true << false;
        QTest::newRow("each text, balanced") << true << true;
    }
    void validationLeavesEveryTableChartPageAndBandAsItWas() {
        QFETCH(bool, eachText);
        QFETCH(bool, balance);
        TProjectForm f;
        TForm1& form = *f.Form;
        Part<QAction>(form, "acEachText")->setChecked(eachText);
        Part<QAction>(form, "acBalance")->setChecked(balance);
        f.calculate();
        Part<QTabWidget>(form, "PageControl1")->setCurrentWidget(Part(form, "tbResult"));
        const TShown before = Shown(form);
        QVERIFY(!before.Authors.isEmpty());
        QCOMPARE(before.TextsTab, eachText);

        f.validate();
        QVERIFY(Part<TValidationReportDialog>(form, "ValidationReportDialog")->isVisible());
        Part<TValidationReportDialog>(form, "ValidationReportDialog")->close();
        const TShown after = Shown(form);
        QCOMPARE(after.Result, before.Result);
        QCOMPARE(after.Chart, before.Chart);
        QCOMPARE(after.Authors, before.Authors);
        QCOMPARE(after.TextsTab, before.TextsTab);
        QCOMPARE(after.Band, before.Band);
        QCOMPARE(after.BandVisible, before.BandVisible);
        QVERIFY(form.workspace().Calculated());
        QVERIFY(!OutOfDateShown(form));
        QCOMPARE(Part<QTabWidget>(form, "PageControl1")->currentWidget(), Part(form, "tbResult"));
        // The author chooser still opens a stylometry table.
        Part<QTabWidget>(form, "PageControl1")->setCurrentWidget(Part(form, "tbStylometry"));
        QCOMPARE(Part<QComboBox>(form, "cbAuthors")->currentIndex(), 0);
        QVERIFY(Part<TGridView>(form, "sgStylometry")->model()->rowCount() > 1);
        QVERIFY(f.Dialogs.Errors.isEmpty());
    }

    void theReportHoldsAValidationOnlyOfWhatItShows() {
        TProjectForm f;
        TForm1& form = *f.Form;
        QTemporaryDir out;
        const auto exportHtml = [&](const QString& name) {
            f.Dialogs.SaveAnswer = out.path() + "/" + name;
            Part<QAction>(form, "acExportReport")->trigger();
            return ReadFile(out.path() + "/" + name);
        };
        f.calculate();
        f.validate();
        QVERIFY(exportHtml("same.html").contains("<h2>Validation</h2>"));

        // Another project: the validation report goes with the old one.
        Part<QAction>(form, "acTutorial")->trigger();
        QVERIFY(!Part<TValidationReportDialog>(form, "ValidationReportDialog")->isVisible());
        QVERIFY(!form.workspace().Results().ValidationReport());
        f.Dialogs.FolderAnswer = f.Project.path();
        Part<QAction>(form, "acOpen")->trigger();
        f.calculate();
        QVERIFY(!exportHtml("other.html").contains("Validation"));

        // A validation of changed candidates does not go with older results.
        Part<QAction>(form, "acAddAuthor")->trigger();
        f.validate();
        Part<QAction>(form, "acNew")->trigger();
        QVERIFY(!form.workspace().Results().ValidationReport());
        Part<QAction>(form, "acOpen")->trigger();
        f.calculate();
        f.validate();
        Part<QAction>(form, "acBalance")->trigger();
        f.calculate();
        QVERIFY(!exportHtml("balanced.html").contains("Validation"));
        QVERIFY(f.Dialogs.Errors.isEmpty());
    }

    void aFolderThatIsNoProjectChangesNothing() {
        TProjectForm f;
        TForm1& form = *f.Form;
        f.calculate();
        Part<QAction>(form, "acAddText")->trigger();  // an in-memory text, which a real load would lose
        Part<QPlainTextEdit>(form, "mText")->setPlainText("typed words");
        const TShown before = Shown(form);
        const QString title = form.windowTitle();
        const int entries = Part<TAuthorTreeView>(form, "tvAuthors")->topLevelItemCount();
        QTemporaryDir empty;
        f.Dialogs.Messages.clear();
        f.Dialogs.FolderAnswer = empty.path();
        Part<QAction>(form, "acOpen")->trigger();
        QCOMPARE(f.Dialogs.Messages.size(), 1);  // why the folder is refused
        QVERIFY(f.Dialogs.Questions.isEmpty());   // nothing was about to be lost
        QCOMPARE(form.windowTitle(), title);
        QCOMPARE(Part<TAuthorTreeView>(form, "tvAuthors")->topLevelItemCount(), entries);
        QCOMPARE(Part<QPlainTextEdit>(form, "mText")->toPlainText(), QString("typed words"));
        QVERIFY(Shown(form) == before);
        emit Part<QMenu>(form, "recentProjectsMenu")->aboutToShow();
        for (const QAction* entry : Part<QMenu>(form, "recentProjectsMenu")->actions())
            QVERIFY(entry->data().toString() != empty.path());
    }

    void newAndLoadingLeaveNothingOfTheOldProject_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("New") << "New";
        QTest::newRow("example") << "example";
        QTest::newRow("folder") << "folder";
    }
    void newAndLoadingLeaveNothingOfTheOldProject() {
        QFETCH(QString, how);
        TProjectForm f;
        TForm1& form = *f.Form;
        Part<QAction>(form, "acEachText")->setChecked(true);
        f.calculate();
        QVERIFY(Part(form, "tbResult")->findChild<QLabel*>("shownTextBand")->isVisibleTo(Part(form, "tbResult")));
        QTemporaryDir second;
        WriteProject(second.path());
        f.Dialogs.FolderAnswer = second.path();
        if (how == "New")
            Part<QAction>(form, "acNew")->trigger();
        else if (how == "example")
            Part<QAction>(form, "acTutorial")->trigger();
        else
            Part<QAction>(form, "acOpen")->trigger();

        QVERIFY(!Part<QTabWidget>(form, "PageControl1")
                     ->isTabVisible(Part<QTabWidget>(form, "PageControl1")->indexOf(Part(form, "tbTexts"))));
        for (QLabel* band : form.findChildren<QLabel*>("shownTextBand")) QVERIFY(!band->isVisibleTo(band->parentWidget()));
        QVERIFY(!OutOfDateShown(form));
        QCOMPARE(Part<QComboBox>(form, "cbAuthors")->count(), 0);
        QVERIFY(Part<TResultChart>(form, "resultChart")->bars().empty());
        for (int row = 1; row < Part<TGridView>(form, "sgResult")->model()->rowCount(); ++row)
            QVERIFY(Part<TGridView>(form, "sgResult")->model()->index(row, 0).data().toString().isEmpty());
        QVERIFY(f.Dialogs.Errors.isEmpty());
    }

    void aClickOnATabShowsThatTab() {
        TProjectForm f;
        TForm1& form = *f.Form;
        Part<QAction>(form, "acEachText")->setChecked(true);
        f.calculate();
        Part<QTabWidget>(form, "PageControl1")->setCurrentWidget(Part(form, "tbAuthors"));
        Part<QAction>(form, "acBalance")->trigger();  // the results are out of date
        QTabBar* tabs = Part<QTabWidget>(form, "PageControl1")->tabBar();
        const int texts = Part<QTabWidget>(form, "PageControl1")->indexOf(Part(form, "tbTexts"));
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(texts).center());
        FinishCalculation(form);
        QCOMPARE(Part<QTabWidget>(form, "PageControl1")->currentWidget(), Part(form, "tbTexts"));
        QVERIFY(form.workspace().Calculated());
        QVERIFY(f.Dialogs.Errors.isEmpty());
    }

    void aRefusedCalculationIsNotRepeatedByTabClicksUntilSomethingChanges() {
        TProjectForm f;
        TForm1& form = *f.Form;
        QFile::remove(f.Project.path() + "/Farmer/diary.txt");  // listed, but cannot be read
        QTabBar* tabs = Part<QTabWidget>(form, "PageControl1")->tabBar();
        const auto click = [&](QWidget* page) {
            QTest::mouseClick(tabs, Qt::LeftButton, {},
                              tabs->tabRect(Part<QTabWidget>(form, "PageControl1")->indexOf(page)).center());
            FinishCalculation(form);
        };
        click(Part(form, "tbResult"));
        QCOMPARE(f.Dialogs.Errors.size(), 1);
        click(Part(form, "tbAnalysis"));
        click(Part(form, "tbStylometry"));
        click(Part(form, "tbResult"));
        QCOMPARE(f.Dialogs.Errors.size(), 1);
        QCOMPARE(Part<QTabWidget>(form, "PageControl1")->currentWidget(), Part(form, "tbResult"));
        QVERIFY(OutOfDateShown(form));

        Part<QAction>(form, "acBalance")->trigger();  // something changed: the next visit tries again
        click(Part(form, "tbAnalysis"));
        QCOMPARE(f.Dialogs.Errors.size(), 2);
    }

    void aRenamedCandidateMarksTheResultsOutOfDate() {
        TProjectForm f;
        TForm1& form = *f.Form;
        f.calculate();
        QVERIFY(!OutOfDateShown(form));
        TTreeNode* sailor = nullptr;
        for (const auto& author : form.workspace().Project().Tree().Authors())
            if (author->Label() == u"Sailor") sailor = author.get();
        QVERIFY(sailor);
        form.workspace().SetLabel(*sailor, u"Mariner");
        QVERIFY(!form.workspace().Calculated());
        QVERIFY(OutOfDateShown(form));
        // The folder keeps its name: back to it, and a calculation is current.
        form.workspace().SetLabel(*sailor, u"Sailor");
        f.calculate();
        QVERIFY(!OutOfDateShown(form));
        QVERIFY(f.Dialogs.Errors.isEmpty());
    }

    void fortyCandidatesKeepEveryNameReadable() {
        TFormFixture f;
        TForm1& form = *f.Form;
        QTemporaryDir many;
        WriteManyCandidates(many.path(), 40);
        // The window's size at its first start.
        form.resize(1203, 498);
        form.show();
        f.Dialogs.FolderAnswer = many.path();
        Part<QAction>(form, "acOpen")->trigger();
        Part<QAction>(form, "Action1")->trigger();
        FinishCalculation(form);
        QVERIFY(f.Dialogs.Errors.isEmpty());
        Part<QTabWidget>(form, "PageControl1")->setCurrentWidget(Part(form, "tbResult"));
        QCOMPARE(Part<TResultChart>(form, "resultChart")->bars().size(), size_t(40));

        // The table's cells are whole, names and "The same as Unknown text" of
        // the Unknown row among them.
        const QAbstractItemModel& result = *Part<TGridView>(form, "sgResult")->model();
        for (int row = 0; row < result.rowCount(); ++row)
            for (int col = 0; col < result.columnCount(); ++col) {
                const QString text = result.index(row, col).data().toString();
                QVERIFY2(Part<TGridView>(form, "sgResult")->fontMetrics().horizontalAdvance(text) + 6 <=
                             Part<TGridView>(form, "sgResult")->columnWidth(col),
                         qPrintable(text));
            }
        QVERIFY(result.index(result.rowCount() - 1, 1).data().toString().startsWith("The same as Unknown"));
        // So are the headers of "Analysis" ("Name: 12%"), up to a column of
        // about 250 pixels; their tooltip shows a longer one whole.
        const QAbstractItemModel& analysis = *Part<TGridView>(form, "sgAnalysis")->model();
        const QFontMetrics headerFont = Part<TGridView>(form, "sgAnalysis")->horizontalHeader()->fontMetrics();
        for (int col = 1; col < analysis.columnCount(); ++col) {
            const QString name = analysis.headerData(col, Qt::Horizontal).toString();
            QVERIFY2(std::min(headerFont.horizontalAdvance(name) + 6, 250) <=
                         Part<TGridView>(form, "sgAnalysis")->columnWidth(col),
                     qPrintable(name));
            QCOMPARE(analysis.headerData(col, Qt::Horizontal, Qt::ToolTipRole).toString(), name);
        }
        // The chart's labels keep the name's start and end, the tooltip the
        // whole name; the chart is as tall as its labels need, and scrolls.
        for (const TScoreBar& bar : Part<TResultChart>(form, "resultChart")->bars()) {
            const QString label = Part<TResultChart>(form, "resultChart")->shownLabel(bar);
            QVERIFY2(label.startsWith("Franklin") && label.contains("%"), qPrintable(label));
            QVERIFY(TResultChart::barToolTip(bar).startsWith(QString::fromStdU16String(bar.Name) + ": "));
            QVERIFY(TResultChart::barToolTip(bar).contains(QRegularExpression("\\d\\.\\d%")));
        }
        QVERIFY(Part<TResultChart>(form, "resultChart")->height() >=
                40 * Part<TResultChart>(form, "resultChart")->fontMetrics().height());
        const auto* scroll = Part(form, "tbResult")->findChild<QScrollArea*>("ResultChartScroll");
        QVERIFY(scroll && scroll->verticalScrollBar()->maximum() > 0);
        // The chart draws those labels as they are, none cut to "…" for lack
        // of room beside the table.
        QApplication::processEvents();
        const QStringList drawn = DrawnTexts(*Part<TResultChart>(form, "resultChart"));
        for (const TScoreBar& bar : Part<TResultChart>(form, "resultChart")->bars())
            QVERIFY2(drawn.contains(Part<TResultChart>(form, "resultChart")->shownLabel(bar)),
                     qPrintable(Part<TResultChart>(form, "resultChart")->shownLabel(bar) +
                                " is not among: " + drawn.join(" | ")));
        // The band below the table wraps its forty names instead of cutting
        // them, as plain text; at most four lines high, it scrolls the rest.
        const auto* trust = Part(form, "tbResult")->findChild<QLabel*>("trustBand");
        QVERIFY(trust->isVisible() && trust->text().contains("Franklin & <i>Eleanor"));
        QVERIFY(trust->wordWrap() && trust->textFormat() == Qt::PlainText);
        QVERIFY2(trust->height() >= trust->heightForWidth(trust->width()),
                 qPrintable(QString("%1 < %2").arg(trust->height()).arg(trust->heightForWidth(trust->width()))));
        const auto* trustArea = Part(form, "tbResult")->findChild<QScrollArea*>("trustBandArea");
        QVERIFY(trustArea->height() <= 4 * trust->fontMetrics().lineSpacing() + 8);
        QVERIFY(trustArea->verticalScrollBar()->maximum() > 0);

        // The validation report wraps its reading and fits on the screen,
        // and the next, smaller report gets a smaller dialog.
        Part<QAction>(form, "acValidation")->trigger();
        FinishCalculation(form);
        TValidationReportDialog* dialog = Part<TValidationReportDialog>(form, "ValidationReportDialog");
        QVERIFY(dialog && dialog->isVisible());
        const QRect screen = dialog->screen()->availableGeometry();
        QVERIFY2(dialog->width() <= screen.width() && dialog->height() <= screen.height(),
                 qPrintable(QString("%1x%2").arg(dialog->width()).arg(dialog->height())));
        QVERIFY(dialog->findChild<QLabel*>("ValidationReading")->wordWrap());
        ExpectScoreShownWithoutScrolling(*dialog);
        if (QTest::currentTestFailed()) return;
        const int bigHeight = dialog->height();
        QTemporaryDir small;
        WriteProject(small.path());
        f.Dialogs.FolderAnswer = small.path();
        Part<QAction>(form, "acOpen")->trigger();
        Part<QAction>(form, "acValidation")->trigger();
        FinishCalculation(form);
        QVERIFY(dialog->isVisible());
        QVERIFY(dialog->height() < bigHeight);
        QVERIFY(dialog->width() <= 1120);
        ExpectScoreShownWithoutScrolling(*dialog);
    }

    void theBandIsOneLineAndTheTreeShowsWholeNames() {
        TProjectForm f;
        TForm1& form = *f.Form;
        Part<QAction>(form, "acEachText")->setChecked(true);
        f.calculate();
        form.resize(1600, 1200);
        Part<QTabWidget>(form, "PageControl1")->setCurrentWidget(Part(form, "tbResult"));
        QApplication::processEvents();
        const auto* band = Part(form, "tbResult")->findChild<QLabel*>("shownTextBand");
        QVERIFY(band->isVisible());
        QVERIFY2(band->height() < 2 * band->fontMetrics().height() + 8, qPrintable(QString::number(band->height())));
        // The tree has room for a name like "Federalist 51.txt".
        QVERIFY(Part<TAuthorTreeView>(form, "tvAuthors")->width() >
                Part<TAuthorTreeView>(form, "tvAuthors")->fontMetrics().horizontalAdvance("Federalist 51.txt") + 40);
    }

    void theTitleNeverRunsUnderTheQuickAccessButtons() {
        TProjectForm f;
        TForm1& form = *f.Form;
        for (int width : {800, 1000, 1600}) {
            form.resize(width, 600);
            QApplication::processEvents();
            const auto* caption = Part<TRibbon>(form, "Ribbon1")->findChild<QLabel*>("ribbonCaption");
            const auto* quickAccess = Part<TRibbon>(form, "Ribbon1")->findChild<QWidget*>("quickAccessToolbar");
            const QRect text = caption->style()->itemTextRect(caption->fontMetrics(), caption->contentsRect(),
                                                               caption->alignment(), true, caption->text());
            const int textLeft = caption->mapTo(Part<TRibbon>(form, "Ribbon1"), text.topLeft()).x();
            const int toolbarRight =
                quickAccess->mapTo(Part<TRibbon>(form, "Ribbon1"), quickAccess->rect().topRight()).x();
            QVERIFY2(textLeft > toolbarRight, qPrintable(QString("at %1 px: %2").arg(width).arg(caption->text())));
        }
    }

    void aDisabledCommandLooksDisabled() {
        TProjectForm f;
        TForm1& form = *f.Form;
        QToolButton* button = RibbonButtonFor(form, Part<QAction>(form, "acBalance"));
        QVERIFY(button);
        const QImage enabled = button->grab().toImage();
        Part<QAction>(form, "acBalance")->setEnabled(false);
        QVERIFY(button->grab().toImage() != enabled);
    }

    void quickAccessGeometryAndSplittersAreKeptAcrossRestarts() {
        QSize size;
        QList<int> treeSplit;
        {
            TProjectForm f;
            TForm1& form = *f.Form;
            form.resize(1111, 666);
            Part<QSplitter>(form, "Splitter1")->setSizes({333, 700});
            TQuickAccessToolbar* quickAccess = Part<TRibbon>(form, "Ribbon1")->quickAccessToolbar();
            quickAccess->addCommand(Part<QAction>(form, "acValidation"));
            quickAccess->setCommandShown(Part<QAction>(form, "acNew"), false);
            QApplication::processEvents();
            treeSplit = Part<QSplitter>(form, "Splitter1")->sizes();
            size = form.size();
            form.close();
        }
        TFormFixture again;
        TForm1& form = *again.Form;
        form.show();
        QApplication::processEvents();
        QCOMPARE(form.size(), size);
        QCOMPARE(Part<QSplitter>(form, "Splitter1")->sizes(), treeSplit);
        const TQuickAccessToolbar* quickAccess = Part<TRibbon>(form, "Ribbon1")->quickAccessToolbar();
        QVERIFY(quickAccess->isShown(Part<QAction>(form, "acValidation")));
        QVERIFY(!quickAccess->isShown(Part<QAction>(form, "acNew")));
        QVERIFY(quickAccess->isShown(Part<QAction>(form, "Action1")));
        // Back to the first settings for the tests that follow.
        form.resize(1203, 498);
        Part<TRibbon>(form, "Ribbon1")->quickAccessToolbar()->setCommandShown(Part<QAction>(form, "acNew"), true);
        Part<TRibbon>(form, "Ribbon1")
            ->quickAccessToolbar()
            ->setCommandShown(Part<QAction>(form, "acValidation"), false);
        Part<QSplitter>(form, "Splitter1")->setSizes({240, 963});
        form.close();
    }

    void aTreeWidthSavedBeforeStillApplies() {
        // Users' settings hold the tree's width under this key; a splitter
        // renamed or moved to another key would drop it without a word.
        UseTemporarySettings();
        QSplitter earlier(Qt::Horizontal);
        earlier.addWidget(new QWidget);
        earlier.addWidget(new QWidget);
        earlier.setSizes({333, 870});
        QSettings().setValue("window/splitter/Splitter1", earlier.saveState());
        TFormFixture f;
        QSettings().remove("window/splitter/Splitter1");
        TForm1& form = *f.Form;
        form.show();
        QApplication::processEvents();
        QCOMPARE(Part<QSplitter>(form, "Splitter1")->sizes().value(0), 333);
    }

    void aFileThatLooksBinaryIsFlaggedOnTheInputPage() {
        TFormFixture f;
        TForm1& form = *f.Form;
        QTemporaryDir project;
        WriteProject(project.path());
        WriteFile(project.path() + "/Sailor/photo.png", QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(64, 'x'));
        WriteFile(project.path() + "/Farmer/notes.txt", QByteArray("words\0more words\n", 17));
        form.show();
        f.Dialogs.FolderAnswer = project.path();
        Part<QAction>(form, "acOpen")->trigger();
        const auto* band = Part(form, "tbAuthors")->findChild<QLabel*>("binaryFileBand");
        QVERIFY(band);
        const auto select = [&](const QString& author, const QString& text) {
            for (const auto& entry : form.workspace().Project().Tree().Authors())
                if (entry->Label() == author.toStdU16String())
                    for (const auto& file : entry->Texts())
                        if (file->Label() == text.toStdU16String()) {
                            Part<TAuthorTreeView>(form, "tvAuthors")->selectNode(file.get());
                            emit Part<TAuthorTreeView>(form, "tvAuthors")->nodeSelected(file.get());
                        }
            return band->isVisibleTo(Part(form, "tbAuthors"));
        };
        QVERIFY(select("Sailor", "photo.png"));
        QVERIFY(!Part<QPlainTextEdit>(form, "mText")->toPlainText().isEmpty());  // still read as text
        QVERIFY(!select("Sailor", "log.txt"));
        QVERIFY(select("Farmer", "notes.txt"));
        QVERIFY(!select("Farmer", "diary.txt"));
    }
};

}  // namespace quillprint::test

QUILLPRINT_UI_TEST(quillprint::test::DependableWindowTest)
#include "DependableWindowTest.moc"
