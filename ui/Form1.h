// The main window: the ribbon above the tab pages "Input data", "Analysis",
// "Result" and "Stylometry". It displays the workspace model and forwards
// every command and user action to it.
#pragma once

#include <QList>
#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>

#include "ui/RecentProjects.h"
#include "ui/WindowJobs.h"
#include "workspace/ChatExport.h"
#include "workspace/CopiedPassages.h"
#include "workspace/WorkspaceViews.h"

class QAction;
class QComboBox;
class QMenu;
class QTabWidget;

namespace quillprint {

class TBusyCursor;
class TScrollingBand;
class TCalculationStatus;
class TCopiedPassagesDialog;
class TDesktopShell;
class TGrid;
class TGridModel;
class TGridView;
class TAnalysisPage;
class TStylometryPage;
class TTextsPage;
class TTablePage;
class TResultPage;
class TMemoTextView;
class TInputPage;
class TResultChart;
class TRibbon;
class TUserDialogs;
class TValidationReportDialog;
class TCrossValidationDialog;
class TWorkspace;

class TForm1 : public QMainWindow, private TWorkspaceObserver, private TMessageSink {
    Q_OBJECT
public:
    // `executableDir` (ending with a separator) is where "Examples/" and
    // "Quillprint.pdf" are looked for; empty means the program's data folder
    // (ProgramDataFolder).
    TForm1(TUserDialogs& dialogs, TDesktopShell& shell, const QString& executableDir = {},
           QWidget* parent = nullptr);
    ~TForm1() override;

    TWorkspace& workspace() const { return *FWorkspace; }
    // Every command of the window, in the order the customisation lists them.
    QList<QAction*> commandSet() const;

public slots:
    void acNewExecute();
    void acAddAuthorExecute();
    void acOpenExecute();
    void acAddTextExecute();
    void acFederalistExecute();
    void acPresidentsExecute();
    void acTutorialExecute();
    void acAuthorsExecute();
    void acCandidatesExecute();
    void btCalculateClick();
    void acValidationExecute();
    void acHelpExecute();
    void btExtractClick();
    void miCopyClick();
    void acBalanceExecute(bool checked);
    void acEachTextExecute(bool checked);
    void acSplitWordsExecute(bool checked);
    void acFollowLinksExecute(bool checked);
    void acLeaveOutCopiesExecute(bool checked);
    void acCopiesExecute();
    void acCrossValidationExecute();
    void showCopiedPassages(std::vector<TCopyRow> rows);
    void acExportReportExecute();
    void acSaveTableExecute();

public:
    // A calculation is under way in the background.
    bool calculationRunning() const;
    // Other long work of the window (reading or splitting a chat export) is
    // under way on the job pool.
    bool windowJobRunning() const { return FWindowJobs->Running(); }
    // The text view as the workspace sees it.
    const TMemoTextView& textView() const;
    // Shows passage `index` of the dialog "Copied passages" highlighted in its
    // unknown text.
    void showCopiedPassage(int index);
    // Asks for a file and saves `grid` to it as CSV or TSV; `tableName`
    // ("Result", "Validation"…) goes into the suggested file name.
    void saveTableAs(const TGrid& grid, const QString& tableName);

private:
    void createActions();
    void createRibbon();
    void createPages();
    void createGrids();
    // See Form1Projects.cpp.
    void createRecentProjectsMenu();
    void fillRecentProjectsMenu();
    void createProjectDrops();
    // False when texts kept only in memory would be lost and the user
    // answers No.
    bool confirmDiscardTypedTexts();
    // Opens `folder` as the project (after the question above) and puts it
    // first among the recent projects.
    void openProjectFolder(const QString& folder);
    void FormCreate();
    void FormDestroy();
    // See Form1Settings.cpp: geometry, splitters and quick-access commands
    // kept across restarts.
    void restoreSettings();
    void saveSettings() const;
    void PageControl1Change(int index);
    void cbAuthorsChange(int entry);

    // Runs a command; an error that escapes it goes to the general error box.
    void Guarded(const std::function<void()>& command);
    // Runs `work` on the job pool, the project commands disabled under the
    // busy cursor, then `done` with its result on this thread.
    template <typename T>
    void startWindowJob(std::function<T(std::stop_token)> work, std::function<void(TJobResult<T>&)> done) {
        windowJobStarted();
        FWindowJobs->Start<T>(std::move(work), [this, done = std::move(done)](TJobResult<T>& result) {
            windowJobEnded();
            done(result);
            emit windowJobDone();
        });
    }
    void windowJobStarted();
    void windowJobEnded();
    // The participants dialog for a chat export just read, then its split.
    void chooseParticipants(const QString& exportName, TChatExport chat);
    // Runs a command under the busy cursor; error boxes wait until the
    // cursor is back.
signals:
    // A calculation ended, however it ended (after the window shows it).
    void calculationEnded();
    // Other long work of the window ended and the window took its result
    // (which may have started the next step of that work).
    void windowJobDone();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The window's components and commands, under the names of its layout;
    // tests and tools find them by these object names.
    TRibbon* Ribbon1 = nullptr;
    QTabWidget* PageControl1 = nullptr;

    QAction* acNew = nullptr;
    QAction* acAddAuthor = nullptr;
    QAction* acOpen = nullptr;
    QAction* acFederalist = nullptr;
    QAction* acPresidents = nullptr;
    QAction* acTutorial = nullptr;
    QAction* Action1 = nullptr;  // "Calculate"
    QAction* acHelp = nullptr;
    QAction* miCopy = nullptr;
    QAction* acAddText = nullptr;
    QAction* acCandidates = nullptr;
    QAction* acAuthors = nullptr;
    QAction* acValidation = nullptr;
    QAction* Action2 = nullptr;            // "Extract"
    QAction* acBalance = nullptr;          // toggle: balanced calculations
    QAction* acEachText = nullptr;         // toggle: every text of "Unknown" on its own
    QAction* acSplitWords = nullptr;       // toggle: split words by language
    QAction* acFollowLinks = nullptr;      // setting: links leading out of the project folder are read
    QAction* acLeaveOutCopies = nullptr;   // toggle: copied passages left out of the unknown text
    QAction* acCopies = nullptr;           // the dialog "Copied passages"
    QAction* acCrossValidation = nullptr;  // the dialog "Cross-validation"
    QAction* acExportReport = nullptr;     // the report to share, as PDF or HTML
    QAction* acSaveTable = nullptr;        // "Save as…": the active page's table as CSV or TSV

    // Parts of the window found by their object names.
    QWidget* tbEmails = nullptr;
    QMenu* PopupMenu1 = nullptr;
    // Ctrl+Tab (+1) and Ctrl+Shift+Tab (-1): the next shown page, from anywhere.
    void changePage(int step);
    // "FederalistShort — Lumeno Quillprint" for a project folder; the ribbon's
    // caption alone for a project made with "New".
    void showCaption();
    bool FNewProject = false;
    // The commands a running calculation disables.
    QList<QAction*> projectCommands() const;
    void setActivePage(QWidget* page);
    TPage pageOf(QWidget* page) const;
    void refillAuthorChooser();
    // The band above "Result", "Analysis" and "Stylometry" that names the
    // disputed text they show, and whether the page "Texts" is offered.
    void showTextsState();
    // The band below "Result": how far to trust the answer shown.
    void showTrust();
    // Closes the validation report once the workspace has dropped it (a
    // project loaded, "New", the candidates changed).
    void hideStaleValidationReport();
    // The band above the text view, for a selected file that looks binary.
    void showBinaryWarning();
    void sgTextsRowChanged(int row);
    // The pictures beside the tables: made once, refilled with the tables.
    void refreshCharts();
    // The pages that show a table of the workspace, besides "Result".
    QList<TTablePage*> tablePages() const;

    // TWorkspaceObserver
    void TreeCleared() override;
    void AuthorAdded(const TTreeNode& author) override;
    void TextAdded(const TTreeNode& text) override;
    void LabelChanged(const TTreeNode& node) override;
    void SelectionSet(const TTreeNode* node) override;
    void PageToFront(TPage page) override;
    void GridsChanged() override;
    void RunStarted() override;
    void RunEnded(TRunEndState state) override;

    // TMessageSink
    void ShowMessage(const std::u16string& text) override;
    void ShowError(const std::u16string& text) override;

    TUserDialogs& FDialogs;
    TDesktopShell& FShell;
    QString FExecutableDir;
    std::unique_ptr<TWorkspace> FWorkspace;
    TInputPage* FInputPage = nullptr;
    TAnalysisPage* FAnalysisPage = nullptr;
    TResultPage* FResultPage = nullptr;
    TStylometryPage* FStylometryPage = nullptr;
    TTextsPage* FTextsPage = nullptr;  // offered only after a run with "Each text"
    TValidationReportDialog* FValidationReport = nullptr;
    QMenu* FRecentProjectsMenu = nullptr;
    TRecentProjects FRecentProjects;
    TCopiedPassagesDialog* FCopiesDialog = nullptr;
    TCalculationStatus* FCalculationStatus = nullptr;
    std::unique_ptr<TBusyCursor> FBusyCursor;
    bool FValidationRunning = false;
    TCrossValidationDialog* FCrossValidationDialog = nullptr;
    bool FCrossValidationRunning = false;
    bool FCopiesRunning = false;
    std::unique_ptr<TWindowJobs> FWindowJobs = std::make_unique<TWindowJobs>(this);
};

}  // namespace quillprint
