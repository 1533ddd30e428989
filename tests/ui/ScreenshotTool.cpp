// Opens the main window on the example project beside the executable, runs a
// calculation and saves a picture of each tab page into the folder named on
// the command line, then of the other examples' calculations, forty
// candidates among them. tools/screenshots.sh runs it under Xvfb.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QToolButton>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>

#include "ui/CalculationStatus.h"
#include "ui/Form1.h"
#include "ui/GridView.h"
#include "ui/QuickAccessToolbar.h"
#include "ui/Ribbon.h"
#include "ui/UserDialogs.h"
#include "ui/ValidationReportDialog.h"
#include "ui/WindowFont.h"

namespace {

// Messages go to the terminal instead of boxes nobody would close.
class TConsoleDialogs : public quillprint::TUserDialogs {
public:
    void ShowMessage(QWidget*, const QString& text) override { std::fprintf(stderr, "message: %s\n", qPrintable(text)); }
    void ShowError(QWidget*, const QString& text) override { std::fprintf(stderr, "error: %s\n", qPrintable(text)); }
    std::optional<QString> ChooseFolder(QWidget*, const QString&, const QString&) override { return std::nullopt; }
};

class TNoShell : public quillprint::TDesktopShell {
public:
    bool OpenDocument(const QString&) override { return true; }
};

void Settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillprint"));
    QApplication::setFont(quillprint::WindowFont());
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillprint_screenshots OUTPUT_FOLDER\n");
        return 1;
    }
    const QDir output(QString::fromLocal8Bit(argv[1]));
    if (!output.exists() && !QDir().mkpath(output.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }

    TConsoleDialogs dialogs;
    TNoShell shell;
    quillprint::TForm1 form(dialogs, shell);
    // The parts of the window the pictures need, found by their object names.
    auto* pageControl = form.findChild<QTabWidget*>("PageControl1");
    auto* ribbon = form.findChild<quillprint::TRibbon*>("Ribbon1");
    auto* balance = form.findChild<QAction*>("acBalance");
    auto* eachText = form.findChild<QAction*>("acEachText");
    form.move(0, 0);
    form.show();
    Settle();

    auto save = [&](const char* name) {
        Settle();
        const QString path = output.filePath(QString::fromLatin1(name));
        if (!form.grab().save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return false;
        }
        std::printf("%s\n", qPrintable(path));
        return true;
    };

    // Calculations run on a worker thread; the pictures wait for their end.
    const auto waitForRun = [&form] {
        while (form.calculationRunning()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    };
    bool ok = save("input-data.png");
    form.btCalculateClick();
    waitForRun();
    const struct {
        QWidget* page;
        const char* file;
    } pages[] = {{form.findChild<QWidget*>("tbAnalysis"), "analysis.png"},
                 {form.findChild<QWidget*>("tbResult"), "result.png"},
                 {form.findChild<QWidget*>("tbStylometry"), "stylometry.png"}};
    for (const auto& page : pages) {
        // Switching the way a click on the tab does, so "Stylometry" fills itself.
        pageControl->setCurrentWidget(page.page);
        ok = save(page.file) && ok;
    }

    // "Result" with its first row, the most likely candidate, selected.
    pageControl->setCurrentWidget(form.findChild<QWidget*>("tbResult"));
    form.findChild<quillprint::TGridView*>("sgResult")->setFocus();
    form.findChild<quillprint::TGridView*>("sgResult")->selectRow(0);
    ok = save("result-selected.png") && ok;

    // The quick-access drop-down, open over the window: taken from the
    // screen, since the menu is a window of its own.
    QMenu* menu = ribbon->quickAccessToolbar()->dropDownMenu();
    QToolButton* dropDown = ribbon->quickAccessToolbar()->findChild<QToolButton*>("quickAccessDropDown");
    menu->popup(dropDown->mapToGlobal(QPoint(0, dropDown->height())));
    Settle();
    const QRect area = form.frameGeometry().united(menu->geometry());
    const QString menuPath = output.filePath(QStringLiteral("quick-access-menu.png"));
    if (QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), 520, 260).save(menuPath))
        std::printf("%s\n", qPrintable(menuPath));
    else
        ok = false;
    menu->close();

    // "Balance": the chart's whiskers show the spread of the draws.
    balance->setChecked(true);
    form.btCalculateClick();
    waitForRun();
    pageControl->setCurrentWidget(form.findChild<QWidget*>("tbResult"));
    ok = save("result-balanced.png") && ok;
    balance->setChecked(false);

    // The validation report with its confusion matrix.
    const auto saveValidation = [&](const char* name) {
        form.acValidationExecute();
        waitForRun();
        quillprint::TValidationReportDialog* report =
            form.findChild<quillprint::TValidationReportDialog*>("ValidationReportDialog");
        if (!report) return false;
        Settle();
        const QString path = output.filePath(QString::fromLatin1(name));
        const bool saved = report->grab().save(path);
        if (saved) std::printf("%s\n", qPrintable(path));
        report->close();
        return saved;
    };
    ok = saveValidation("validation.png") && ok;

    // Many disputed texts: the page "Texts" with its heat map, balanced as
    // the help's table of the twelve disputed papers.
    form.acAuthorsExecute();
    balance->setChecked(true);
    eachText->setChecked(true);
    form.btCalculateClick();
    waitForRun();
    pageControl->setCurrentWidget(form.findChild<QWidget*>("tbTexts"));
    ok = save("texts.png") && ok;

    // A balanced calculation under way on every known paper (long enough to
    // be caught): the status bar with its progress.
    eachText->setChecked(false);
    form.btCalculateClick();
    QElapsedTimer waited;
    waited.start();
    while (form.calculationRunning() &&
           !form.findChild<quillprint::TCalculationStatus*>("calculationStatus")
                ->text()
                ->text()
                .startsWith(QStringLiteral("Draw")) &&
           waited.elapsed() < 60000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    if (!form.calculationRunning()) std::fprintf(stderr, "the calculation ended before its picture\n");
    const QString progressPath = output.filePath(QStringLiteral("calculation-progress.png"));
    if (form.grab().save(progressPath))
        std::printf("%s\n", qPrintable(progressPath));
    else
        ok = false;
    waitForRun();

    // Forty candidates: "Result" with its chart, and the validation report.
    balance->setChecked(false);
    form.acCandidatesExecute();
    form.btCalculateClick();
    waitForRun();
    pageControl->setCurrentWidget(form.findChild<QWidget*>("tbResult"));
    ok = save("result-40-candidates.png") && ok;
    ok = saveValidation("validation-40-candidates.png") && ok;
    return ok ? 0 : 1;
}
