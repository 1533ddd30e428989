// Building the main window: commands, ribbon, pages and tables, and what the
// window does when it is created and destroyed.
#include "ui/Form1.h"

#include <algorithm>

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "engine/Collation.h"
#include "ui/AccessKeyStyle.h"
#include "ui/BusyCursor.h"
#include "ui/CalculationStatus.h"
#include "ui/GridModel.h"
#include "ui/GridView.h"
#include "ui/Icons.h"
#include "ui/InputPage.h"
#include "ui/MemoTextView.h"
#include "ui/ProgramData.h"
#include "ui/QuickAccessToolbar.h"
#include "ui/ResultPage.h"
#include "ui/Ribbon.h"
#include "ui/RibbonGroup.h"
#include "ui/RunWakeAdapter.h"
#include "ui/TablePage.h"
#include "ui/TextsPage.h"
#include "ui/WindowFont.h"
#include "workspace/LanguageHint.h"
#include "workspace/Workspace.h"

namespace quillprint {

namespace {

const QColor SkyBlue(166, 202, 240);

QAction* MakeAction(QObject* parent, const char* name, const QString& caption, const QIcon& icon = {}) {
    auto* action = new QAction(icon, caption, parent);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

}  // namespace

TForm1::TForm1(TUserDialogs& dialogs, TDesktopShell& shell, const QString& executableDir, QWidget* parent)
    : QMainWindow(parent), FDialogs(dialogs), FShell(shell), FExecutableDir(executableDir) {
    // Access keys are underlined while Alt is held, here and in every dialog.
    TAccessKeyStyle::Install();
    if (FExecutableDir.isEmpty())
        FExecutableDir = ProgramDataFolder(QCoreApplication::applicationDirPath() + QLatin1Char('/'));
    setObjectName("Form1");
    setWindowIcon(ApplicationIcon());
    setFont(WindowFont());
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, SkyBlue);
    setPalette(palette);
    setAutoFillBackground(true);

    createActions();
    createRecentProjectsMenu();
    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    createRibbon();
    layout->addWidget(Ribbon1);
    createPages();
    layout->addWidget(PageControl1, 1);
    setCentralWidget(client);
    FCalculationStatus = new TCalculationStatus(this);
    statusBar()->addWidget(FCalculationStatus, 1);
    statusBar()->setSizeGripEnabled(true);
    // Client area at 96 dpi; Qt scales it on high-dpi screens.
    resize(1203, 498);

    FormCreate();
}

TForm1::~TForm1() { FormDestroy(); }

const TMemoTextView& TForm1::textView() const { return FInputPage->textView(); }

void TForm1::createActions() {
    // The letter after "&" is the access key: Alt + letter runs the command,
    // and no two commands of the ribbon or tab pages share one (a page's
    // letter shows the page). The commands that only the quick-access
    // toolbar shows take Alt + their place on it instead: the ribbon and the
    // pages leave no letter of their captions free.
    acNew = MakeAction(this, "acNew", tr("&New"), NewIcon());
    acAddAuthor = MakeAction(this, "acAddAuthor", tr("A&dd author"));
    acOpen = MakeAction(this, "acOpen", tr("&Open folder"), OpenFolderIcon());
    acFederalist = MakeAction(this, "acFederalist", tr("&Federalist"));
    acPresidents = MakeAction(this, "acPresidents", tr("&Presidents"));
    acTutorial = MakeAction(this, "acTutorial", tr("&Tutorial"));
    Action1 = MakeAction(this, "Action1", tr("&Calculate"), CalculateIcon());
    acHelp = MakeAction(this, "acHelp", tr("&Help"), HelpIcon());
    miCopy = MakeAction(this, "miCopy", tr("&Copy"));
    acAddText = MakeAction(this, "acAddText", tr("Add text"));
    acCandidates = MakeAction(this, "acCandidates", tr("Candidates"));
    acAuthors = MakeAction(this, "acAuthors", tr("Authors"));
    acValidation = MakeAction(this, "acValidation", tr("Validation"));
    acCrossValidation = MakeAction(this, "acCrossValidation", tr("Cross-&validation"));
    acCrossValidation->setToolTip(
        tr("Cross-validation: hold out each known text in turn to see how often the answer is right"));
    Action2 = MakeAction(this, "Action2", tr("E&xtract"));
    acBalance = MakeAction(this, "acBalance", tr("&Balance"));
    acBalance->setCheckable(true);
    acBalance->setToolTip(tr("Balance: compare equal-size samples of every candidate over several draws"));
    acEachText = MakeAction(this, "acEachText", tr("&Each text"));
    acEachText->setCheckable(true);
    acEachText->setToolTip(tr("Each text: attribute every text of \"Unknown\" on its own"));
    acSplitWords = MakeAction(this, "acSplitWords", tr("Split &words by language"));
    acSplitWords->setCheckable(true);
    acSplitWords->setToolTip(tr("Split words by language: split Chinese, Japanese, Thai and the other languages "
                                "written without spaces into words by a dictionary"));
    acFollowLinks = MakeAction(this, "acFollowLinks", tr("Follow lin&ks"));
    acFollowLinks->setCheckable(true);
    acFollowLinks->setToolTip(
        tr("Follow links out of the project: read the files and folders that links in the "
           "project folder lead to elsewhere; off, they are listed with a note and never read"));
    acLeaveOutCopies = MakeAction(this, "acLeaveOutCopies", tr("&Leave out copied passages"));
    acLeaveOutCopies->setCheckable(true);
    acLeaveOutCopies->setToolTip(
        tr("Leave out copied passages: calculate without the passages the unknown text copies from a candidate"));
    acCopies = MakeAction(this, "acCopies", tr("Copied passa&ges"));
    acCopies->setToolTip(tr("Copied passages: list the passages the unknown text shares word for word with a candidate"));
    acExportReport = MakeAction(this, "acExportReport", tr("Export &report…"));
    acExportReport->setToolTip(tr("Export report: the results with their chart as one PDF or HTML file"));
    acSaveTable = MakeAction(this, "acSaveTable", tr("Save &as…"));
    acSaveTable->setToolTip(tr("Save as: the table of the active page as a CSV or TSV file"));

    // F1 runs "Help" from anywhere in the window.
    acHelp->setShortcut(QKeySequence(Qt::Key_F1));
    acHelp->setShortcutContext(Qt::WindowShortcut);
    addAction(acHelp);

    // Ctrl+Tab and Ctrl+Shift+Tab change page wherever the focus is, also
    // inside a table or the text view.
    auto* nextPage = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
    nextPage->setContext(Qt::WindowShortcut);
    connect(nextPage, &QShortcut::activated, this, [this] { changePage(+1); });
    auto* previousPage = new QShortcut(this);
    previousPage->setKeys({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
                           QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)});
    previousPage->setContext(Qt::WindowShortcut);
    connect(previousPage, &QShortcut::activated, this, [this] { changePage(-1); });

    connect(acNew, &QAction::triggered, this, &TForm1::acNewExecute);
    connect(acAddAuthor, &QAction::triggered, this, &TForm1::acAddAuthorExecute);
    connect(acOpen, &QAction::triggered, this, &TForm1::acOpenExecute);
    connect(acFederalist, &QAction::triggered, this, &TForm1::acFederalistExecute);
    connect(acPresidents, &QAction::triggered, this, &TForm1::acPresidentsExecute);
    connect(acTutorial, &QAction::triggered, this, &TForm1::acTutorialExecute);
    connect(Action1, &QAction::triggered, this, &TForm1::btCalculateClick);
    connect(acHelp, &QAction::triggered, this, &TForm1::acHelpExecute);
    connect(miCopy, &QAction::triggered, this, &TForm1::miCopyClick);
    connect(acAddText, &QAction::triggered, this, &TForm1::acAddTextExecute);
    connect(acCandidates, &QAction::triggered, this, &TForm1::acCandidatesExecute);
    connect(acAuthors, &QAction::triggered, this, &TForm1::acAuthorsExecute);
    connect(acValidation, &QAction::triggered, this, &TForm1::acValidationExecute);
    connect(Action2, &QAction::triggered, this, &TForm1::btExtractClick);
    connect(acBalance, &QAction::toggled, this, &TForm1::acBalanceExecute);
    connect(acEachText, &QAction::toggled, this, &TForm1::acEachTextExecute);
    connect(acSplitWords, &QAction::toggled, this, &TForm1::acSplitWordsExecute);
    connect(acFollowLinks, &QAction::toggled, this, &TForm1::acFollowLinksExecute);
    connect(acLeaveOutCopies, &QAction::toggled, this, &TForm1::acLeaveOutCopiesExecute);
    connect(acCopies, &QAction::triggered, this, &TForm1::acCopiesExecute);
    connect(acCrossValidation, &QAction::triggered, this, &TForm1::acCrossValidationExecute);
    connect(acExportReport, &QAction::triggered, this, &TForm1::acExportReportExecute);
    connect(acSaveTable, &QAction::triggered, this, &TForm1::acSaveTableExecute);
}

QList<QAction*> TForm1::commandSet() const {
    return {acNew,        acAddAuthor,    acOpen,      acFederalist,      acPresidents, acTutorial,
            Action1,      acHelp,         miCopy,      acAddText,         acCandidates, acAuthors,
            acValidation, Action2,        acBalance,   acEachText,        acSplitWords, acLeaveOutCopies,
            acCopies,     acExportReport, acSaveTable, acCrossValidation, acFollowLinks};
}

void TForm1::createRibbon() {
    Ribbon1 = new TRibbon(this);
    Ribbon1->setObjectName("Ribbon1");
    Ribbon1->setCaption(tr("Lumeno Quillprint"));
    Ribbon1->setCommandSet(commandSet());
    const int main = Ribbon1->addTab(tr("Main"));

    TRibbonGroup* project = Ribbon1->addGroup(main, tr("Project"));
    project->addLargeButton(acNew);
    project->addSmallButton(acAddAuthor);
    QToolButton* open = project->addSmallButton(acOpen);
    // The arrow beside "Open folder" lists the recent project folders.
    open->setMenu(FRecentProjectsMenu);
    open->setPopupMode(QToolButton::MenuButtonPopup);
    project->addSmallButton(Action2);
    project->addSmallButton(acFollowLinks);

    TRibbonGroup* examples = Ribbon1->addGroup(main, tr("Examples"));
    examples->addSmallButton(acFederalist);
    examples->addSmallButton(acPresidents);
    examples->addSmallButton(acTutorial);

    TRibbonGroup* calculate = Ribbon1->addGroup(main, tr("Calculate"));
    calculate->addLargeButton(Action1);
    calculate->addSmallButton(acBalance);
    calculate->addSmallButton(acEachText);
    calculate->addSmallButton(acSplitWords);
    calculate->addSmallButton(acLeaveOutCopies);
    calculate->addSmallButton(acCopies);
    calculate->addSmallButton(acExportReport);
    calculate->addSmallButton(acSaveTable);
    calculate->addSmallButton(acCrossValidation);
    Ribbon1->addGroup(main, tr("Help"))->addSmallButton(acHelp);

    TQuickAccessToolbar* quickAccess = Ribbon1->quickAccessToolbar();
    quickAccess->addCommand(acNew);
    quickAccess->addCommand(acOpen);
    quickAccess->addCommand(Action1);
}

void TForm1::createPages() {
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    PageControl1->setDocumentMode(false);

    // Kept in the layout for its place among the pages; FormCreate removes it.
    tbEmails = new QWidget;
    tbEmails->setObjectName("tbEmails");
    auto* emailsLayout = new QVBoxLayout(tbEmails);
    emailsLayout->addWidget(new QPlainTextEdit(tbEmails));
    PageControl1->addTab(tbEmails, tr("Authors from E-mails, dialogs, etc."));

    FInputPage = new TInputPage;
    PageControl1->addTab(FInputPage, tr("&Input data"));

    createGrids();

    connect(PageControl1, &QTabWidget::currentChanged, this, &TForm1::PageControl1Change);
    connect(FInputPage, &TInputPage::nodeSelected, this, [this](TTreeNode* node) {
        Guarded([&] { FWorkspace->SelectNode(node); });
        showBinaryWarning();
    });
    connect(FInputPage, &TInputPage::labelEdited, this, [this](TTreeNode* node, const QString& label) {
        // An edit still open when the window closes ends after the model is gone.
        if (!FWorkspace) return;
        Guarded([&] { FWorkspace->SetLabel(*node, label.toStdU16String()); });
    });
    connect(FInputPage, &TInputPage::readFailed, this,
            [this](const QString& error) { ShowError(error.toStdU16String()); });
}

void TForm1::createGrids() {
    FAnalysisPage = new TAnalysisPage;
    PageControl1->addTab(FAnalysisPage, tr("Anal&ysis"));
    FResultPage = new TResultPage;
    PageControl1->addTab(FResultPage, tr("Res&ult"));
    FStylometryPage = new TStylometryPage;
    PageControl1->addTab(FStylometryPage, tr("Stylo&metry"));
    connect(FStylometryPage, &TStylometryPage::authorChosen, this, &TForm1::cbAuthorsChange);

    // Offered only after a run with "Each text".
    FTextsPage = new TTextsPage;
    PageControl1->addTab(FTextsPage, tr("Text&s"));
    connect(FTextsPage, &TTextsPage::textSelected, this, &TForm1::sgTextsRowChanged);
    PageControl1->setTabVisible(PageControl1->indexOf(FTextsPage), false);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    PopupMenu1->addAction(miCopy);
    PopupMenu1->addAction(acSaveTable);
    const auto popup = [this](const QPoint& globalPos) { PopupMenu1->popup(globalPos); };
    for (TTablePage* page : tablePages()) connect(page, &TTablePage::contextMenuRequested, this, popup);
}

QList<TTablePage*> TForm1::tablePages() const { return {FAnalysisPage, FResultPage, FStylometryPage, FTextsPage}; }

void TForm1::FormCreate() {
    setWindowTitle(Ribbon1->caption());
    // The ribbon's groups and captions need this much room.
    setMinimumSize(std::max(640, Ribbon1->minimumSizeHint().width()), 360);
    FWorkspace = std::make_unique<TWorkspace>(
        QDir::toNativeSeparators(FExecutableDir).toStdU16String(), DefaultLocaleName(), FInputPage->textView(),
        static_cast<TMessageSink&>(*this), static_cast<TWorkspaceObserver&>(*this));

    const TWorkspace& workspace = *FWorkspace;
    FAnalysisPage->showTable(workspace.Results().AnalysisTable(), [&workspace](int32_t c, int32_t r) {
        return workspace.Results().AnalysisCellColour(c, r);
    });
    FStylometryPage->showTable(workspace.Results().StylometryTable());
    FResultPage->showTable(workspace.Results().ResultTable(),
                           [&workspace](int32_t c, int32_t r) { return workspace.Results().ResultCellColour(c, r); });
    FTextsPage->showTable(workspace.Results().TextsTable(),
                          [&workspace](int32_t c, int32_t r) { return workspace.Results().TextsCellColour(c, r); });

    // The e-mail page is never shown.
    PageControl1->removeTab(PageControl1->indexOf(tbEmails));
    delete tbEmails;
    tbEmails = nullptr;

    Guarded([this] { FWorkspace->Start(); });
    showCaption();
    // Calculations run on a worker thread; the window collects them on its own.
    auto* wakes = new TRunWakeAdapter({[this] { return calculationRunning(); },
                                       [this] { FCalculationStatus->showProgress(FWorkspace->Runs().Progress()); },
                                       [this] { Guarded([this] { FWorkspace->CollectRun(); }); }},
                                      this);
    FWorkspace->RunInBackground([wakes] { wakes->wake(); });
    connect(FCalculationStatus, &TCalculationStatus::cancelRequested, this, [this] { FWorkspace->CancelRun(); });
    createProjectDrops();
    restoreSettings();
    // The header rows of "Result" and "Stylometry" come with the tables.
    GridsChanged();
}

void TForm1::FormDestroy() {
    // The workspace frees the in-memory texts and then the engine; it goes
    // before the widgets it reports to, and the tables let go of its grids first.
    for (TTablePage* page : tablePages()) page->releaseTable();
    FWorkspace.reset();
}

}  // namespace quillprint
