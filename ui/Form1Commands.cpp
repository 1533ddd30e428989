// The window's commands and its side of the workspace's reports: each
// handler forwards to the workspace, and the observer methods mirror the
// model in the widgets.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QTabWidget>
#include <algorithm>

#include "ui/BusyCursor.h"
#include "ui/CalculationStatus.h"
#include "ui/CopiedPassagesDialog.h"
#include "ui/CrossValidationDialog.h"
#include "ui/Form1.h"
#include "ui/GridModel.h"
#include "ui/GridView.h"
#include "ui/InputPage.h"
#include "ui/MemoTextView.h"
#include "ui/ResultPage.h"
#include "ui/Ribbon.h"
#include "ui/ScrollingBand.h"
#include "ui/TablePage.h"
#include "ui/TextsPage.h"
#include "ui/UserDialogs.h"
#include "ui/ValidationReportDialog.h"
#include "workspace/ProjectFolder.h"
#include "workspace/TextReader.h"
#include "workspace/Workspace.h"

namespace quillprint {

void TForm1::Guarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& error) {
        ShowError(QString::fromUtf8(error.what()).toStdU16String());
    } catch (...) {
        ShowError(tr("An unexpected error ended the command.").toStdU16String());
    }
}


// ---- Commands ----

void TForm1::acNewExecute() {
    if (!confirmDiscardTypedTexts()) return;
    Guarded([this] { FWorkspace->NewProject(); });
    FNewProject = true;
    showCaption();
}

void TForm1::showCaption() {
    const QString folder =
        QDir(QDir::fromNativeSeparators(QString::fromStdU16String(FWorkspace->Project().Folder()))).dirName();
    // The ribbon draws the title bar; the window manager shows the same title.
    Ribbon1->setDocumentName(FNewProject ? QString() : folder);
    setWindowTitle(Ribbon1->title());
}

void TForm1::acAddAuthorExecute() {
    Guarded([this] { FWorkspace->AddAuthor(); });
}

void TForm1::acAddTextExecute() {
    Guarded([this] { FWorkspace->AddText(); });
}

void TForm1::acOpenExecute() {
    const std::optional<QString> folder =
        FDialogs.ChooseFolder(this, tr("Select Directory"), QDir::currentPath());
    if (folder) openProjectFolder(*folder);
}

void TForm1::acFederalistExecute() {
    if (!confirmDiscardTypedTexts()) return;
    Guarded([this] { FWorkspace->OpenExample(TExample::Federalist); });
}

void TForm1::acPresidentsExecute() {
    if (!confirmDiscardTypedTexts()) return;
    Guarded([this] { FWorkspace->OpenExample(TExample::Presidents); });
}

void TForm1::acTutorialExecute() {
    if (!confirmDiscardTypedTexts()) return;
    Guarded([this] { FWorkspace->OpenExample(TExample::Tutorial); });
}

void TForm1::acAuthorsExecute() {
    if (!confirmDiscardTypedTexts()) return;
    Guarded([this] { FWorkspace->OpenExample(TExample::Authors); });
}

void TForm1::acCandidatesExecute() {
    if (!confirmDiscardTypedTexts()) return;
    Guarded([this] { FWorkspace->OpenExample(TExample::Candidates); });
}

void TForm1::btCalculateClick() {
    Guarded([this] { FWorkspace->Calculate(); });
}

void TForm1::acValidationExecute() {
    if (FWorkspace->Runs().Running()) return;
    FValidationRunning = true;
    Guarded([this] { FWorkspace->Validate(); });
    // An empty tree starts no run.
    if (!FWorkspace->Runs().Running()) FValidationRunning = false;
}

void TForm1::acCrossValidationExecute() {
    if (!FCrossValidationDialog) {
        FCrossValidationDialog = new TCrossValidationDialog(this);
        connect(FCrossValidationDialog, &TCrossValidationDialog::saveRequested, this,
                [this] { saveTableAs(FCrossValidationDialog->checks(), tr("Cross-validation")); });
        connect(FCrossValidationDialog, &TCrossValidationDialog::runRequested, this, [this] {
            if (FWorkspace->Runs().Running()) return;
            FCrossValidationRunning = true;
            Guarded([this] { FWorkspace->CrossValidate(FCrossValidationDialog->excerptWords()); });
            // An empty tree starts no run.
            if (!FWorkspace->Runs().Running()) FCrossValidationRunning = false;
        });
        if (const auto& validation = FWorkspace->Results().CrossValidation())
            FCrossValidationDialog->setValidation(*validation);
    }
    FCrossValidationDialog->show();
    FCrossValidationDialog->raise();
}

bool TForm1::calculationRunning() const { return FWorkspace && FWorkspace->Runs().Running(); }

QList<QAction*> TForm1::projectCommands() const {
    return {acNew,        acAddAuthor,      acOpen,    acFederalist,      acPresidents, acTutorial, Action1,
            acAddText,    acCandidates,     acAuthors, acValidation,      Action2,      acBalance,  acEachText,
            acSplitWords, acLeaveOutCopies, acCopies,  acCrossValidation, acFollowLinks};
}

void TForm1::acBalanceExecute(bool checked) {
    FWorkspace->SetBalance(checked);
}

void TForm1::acEachTextExecute(bool checked) {
    FWorkspace->SetEachText(checked);
}

void TForm1::acSplitWordsExecute(bool checked) {
    FWorkspace->SetSplitWordsByLanguage(checked);
}

void TForm1::acFollowLinksExecute(bool checked) {
    if (FWorkspace->Options().FollowLinks() == checked) return;
    FWorkspace->SetFollowLinks(checked);
    // The project on show is read again under the new setting, unless that
    // would lose typed texts the user keeps; then the next project gets it.
    if (FNewProject || FWorkspace->Project().Tree().Empty() || !confirmDiscardTypedTexts()) return;
    Guarded([this] { FWorkspace->ReloadProject(); });
}

void TForm1::acLeaveOutCopiesExecute(bool checked) {
    FWorkspace->SetLeaveOutCopies(checked);
}

void TForm1::acCopiesExecute() {
    if (FWorkspace->Runs().Running() || windowJobRunning()) return;
    // A run like a calculation's, with its progress and "Cancel"; the list
    // opens when it ends (RunEnded).
    FCopiesRunning = true;
    Guarded([this] { FWorkspace->FindCopiedPassages(); });
    if (!FWorkspace->Runs().Running()) FCopiesRunning = false;
}

void TForm1::showCopiedPassages(std::vector<TCopyRow> rows) {
    if (!FCopiesDialog) {
        FCopiesDialog = new TCopiedPassagesDialog(this);
        connect(FCopiesDialog, &TCopiedPassagesDialog::passageChosen, this, &TForm1::showCopiedPassage);
    }
    FCopiesDialog->setPassages(std::move(rows), FWorkspace->Options().CopyWords());
    FCopiesDialog->show();
    FCopiesDialog->raise();
}

void TForm1::showCopiedPassage(int index) {
    if (!FCopiesDialog || index < 0 || index >= static_cast<int>(FCopiesDialog->passages().size())) return;
    const TCopyRow& copy = FCopiesDialog->passages()[static_cast<size_t>(index)];
    TTreeNode* unknown = nullptr;
    for (const auto& author : FWorkspace->Project().Tree().Authors())
        if (author->Label() == u"Unknown") unknown = author.get();
    if (!unknown) return;
    // The run's texts are the entries it read: those set aside are not.
    std::vector<TTreeNode*> read;
    for (const auto& entry : unknown->Texts())
        if (!entry->IsSetAside()) read.push_back(entry.get());
    if (copy.UnknownPlace.Text < 0 || copy.UnknownPlace.Text >= static_cast<int32_t>(read.size())) return;
    TTreeNode* text = read[static_cast<size_t>(copy.UnknownPlace.Text)];
    setActivePage(FInputPage);
    FInputPage->selectNode(text);
    Guarded([&] { FWorkspace->SelectNode(text); });
    if (FWorkspace->Project().Selected() != text) return;
    // A large text is read in the background: marked once it is shown.
    FInputPage->textView().whenShown(
        [this, place = copy.UnknownPlace, end = copy.UnknownEnd] { FInputPage->selectPassage(place, end); });
}

void TForm1::acHelpExecute() {
    const QString path = QDir::toNativeSeparators(QString::fromStdU16String(FWorkspace->HelpDocumentPath()));
    if (!FShell.OpenDocument(path))
        FDialogs.ShowMessage(this, tr("The help could not be shown: no program for PDF documents could be started, "
                                      "or the file is missing. The help is the file\n%1").arg(path));
}

void TForm1::miCopyClick() {
    const QWidget* page = PageControl1->currentWidget();
    const TGrid* grid = nullptr;
    if (page == FAnalysisPage)
        grid = &FWorkspace->Results().AnalysisTable();
    else if (page == FResultPage)
        grid = &FWorkspace->Results().ResultTable();
    else if (page == FStylometryPage)
        grid = &FWorkspace->Results().StylometryTable();
    else if (page == FTextsPage)
        grid = &FWorkspace->Results().TextsTable();
    if (!grid) return;
    QGuiApplication::clipboard()->setText(QString::fromStdU16String(CopyGrid(*grid)));
}

// ---- Pages and the author chooser ----

void TForm1::changePage(int step) {
    const int count = PageControl1->count();
    int index = PageControl1->currentIndex();
    for (int tried = 0; tried < count; ++tried) {
        index = (index + step + count) % count;
        if (PageControl1->isTabVisible(index)) break;
    }
    // The tab widget reports it as the user's change.
    PageControl1->setCurrentIndex(index);
}

TPage TForm1::pageOf(QWidget* page) const {
    if (page == FAnalysisPage) return TPage::Analysis;
    if (page == FResultPage) return TPage::Result;
    if (page == FStylometryPage) return TPage::Stylometry;
    if (page == FTextsPage) return TPage::Texts;
    return TPage::InputData;
}

void TForm1::setActivePage(QWidget* page) {
    // Pages the program brings to the front do not count as the user's change.
    const QSignalBlocker blocker(PageControl1);
    PageControl1->setCurrentWidget(page);
}

void TForm1::PageControl1Change(int index) {
    const TPage page = pageOf(PageControl1->widget(index));
    Guarded([&] { FWorkspace->ShowPage(page); });
}

void TForm1::cbAuthorsChange(int entry) {
    Guarded([&] { FWorkspace->ChooseAuthor(entry); });
}

void TForm1::refillAuthorChooser() {
    QStringList names;
    for (const TAuthorChoice& choice : FWorkspace->Results().AuthorChoices())
        names.append(QString::fromStdU16String(choice.Name));
    FStylometryPage->showChoices(names, FWorkspace->Results().ChosenAuthor());
}

// ---- TWorkspaceObserver ----

void TForm1::TreeCleared() {
    FInputPage->clearTree();
    hideStaleValidationReport();
    // A project folder is being loaded (or "New" follows, which says so).
    FNewProject = false;
    showCaption();
}
void TForm1::AuthorAdded(const TTreeNode& author) {
    FInputPage->addAuthor(author);
    hideStaleValidationReport();
}
void TForm1::TextAdded(const TTreeNode& text) {
    FInputPage->addText(text);
    hideStaleValidationReport();
}

void TForm1::hideStaleValidationReport() {
    if (FValidationReport && !FWorkspace->Results().ValidationReport()) FValidationReport->hide();
}
void TForm1::LabelChanged(const TTreeNode& node) { FInputPage->updateLabel(node); }
void TForm1::SelectionSet(const TTreeNode* node) {
    FInputPage->selectNode(node);
    showBinaryWarning();
}

void TForm1::showBinaryWarning() {
    const TTreeNode* shown = FWorkspace->Project().Selected();
    bool binary = false;
    if (shown && !shown->IsAuthor() && !shown->Text() && !shown->IsSetAside())
        binary = LooksBinary(ResolvePath(FWorkspace->Project().TextPath(*shown)));
    FInputPage->showBinaryWarning(binary);
}

void TForm1::PageToFront(TPage page) {
    switch (page) {
    case TPage::InputData: setActivePage(FInputPage); break;
    case TPage::Analysis: setActivePage(FAnalysisPage); break;
    case TPage::Result: setActivePage(FResultPage); break;
    case TPage::Stylometry: setActivePage(FStylometryPage); break;
    case TPage::Texts:
        showTextsState();
        setActivePage(FTextsPage);
        break;
    }
}

void TForm1::GridsChanged() {
    FAnalysisPage->refresh();
    FResultPage->refresh();
    FStylometryPage->refresh();
    FTextsPage->refresh();
    refillAuthorChooser();
    showTextsState();
    refreshCharts();
    showTrust();
    hideStaleValidationReport();
}

void TForm1::showTrust() {
    QStringList lines;
    for (const std::u16string& line : FWorkspace->Results().TrustLines())
        lines.append(QString::fromStdU16String(line));
    FResultPage->showTrust(lines);
}

void TForm1::showTextsState() {
    const bool texts = !FWorkspace->Results().TextOutcomes().empty();
    {
        // Hiding the current page moves to another one: not the user's choice.
        const QSignalBlocker blocker(PageControl1);
        PageControl1->setTabVisible(PageControl1->indexOf(FTextsPage), texts);
    }
    const QString label = QString::fromStdU16String(FWorkspace->Results().ShownTextLabel());
    const bool failed = FWorkspace->Results().OutOfDate();
    const QString outOfDate =
        failed ? tr("Out of date: the last calculation failed. The tables show an earlier result, or none.")
               : tr("Out of date: the project or the settings changed since this calculation. Press \"Calculate\" "
                    "to update.");
    FResultPage->showSplittingHint(FWorkspace->Results().SplittingHint());
    const bool outOfDateShown = failed || FWorkspace->ResultsStale();
    // "Texts" lists every text: it shows none in particular.
    for (TTablePage* page : {static_cast<TTablePage*>(FAnalysisPage), static_cast<TTablePage*>(FResultPage),
                             static_cast<TTablePage*>(FStylometryPage)})
        page->showBands(label, outOfDateShown ? outOfDate : QString());
    FTextsPage->showTexts(FWorkspace->Results().TextOutcomes(), FWorkspace->Results().ShownText());
}

void TForm1::sgTextsRowChanged(int row) {
    Guarded([&] { FWorkspace->ShowDisputedText(row); });
}

void TForm1::windowJobStarted() {
    for (QAction* command : projectCommands()) command->setEnabled(false);
    FBusyCursor = std::make_unique<TBusyCursor>();
}

void TForm1::windowJobEnded() {
    // The cursor is back before any message box opens.
    FBusyCursor.reset();
    for (QAction* command : projectCommands()) command->setEnabled(true);
}

// ---- TMessageSink ----

void TForm1::ShowMessage(const std::u16string& text) {
    FDialogs.ShowMessage(this, QString::fromStdU16String(text));
}

void TForm1::ShowError(const std::u16string& text) { FDialogs.ShowError(this, QString::fromStdU16String(text)); }

// ---- A calculation in the background ----

void TForm1::RunStarted() {
    for (QAction* command : projectCommands()) command->setEnabled(false);
    FInputPage->setCalculationRunning(true);
    FBusyCursor = std::make_unique<TBusyCursor>();
    FCalculationStatus->showStarted();
}

void TForm1::RunEnded(TRunEndState state) {
    // The cursor is back before any error box opens.
    FBusyCursor.reset();
    for (QAction* command : projectCommands()) command->setEnabled(true);
    FInputPage->setCalculationRunning(false);
    if (std::exchange(FCrossValidationRunning, false) && state == TRunEndState::Finished && FCrossValidationDialog)
        if (const auto& validation = FWorkspace->Results().CrossValidation())
            FCrossValidationDialog->setValidation(*validation);
    if (std::exchange(FCopiesRunning, false)) {
        if (state == TRunEndState::Finished && FWorkspace->Results().FoundCopies())
            showCopiedPassages(*FWorkspace->Results().FoundCopies());
        QMetaObject::invokeMethod(this, &TForm1::calculationEnded, Qt::QueuedConnection);
        return;
    }
    const bool validation = std::exchange(FValidationRunning, false);
    switch (state) {
    case TRunEndState::Finished:
        FCalculationStatus->showEnded(validation ? tr("Validation finished") : tr("Calculation finished"));
        break;
    case TRunEndState::Cancelled:
        FCalculationStatus->showEnded(validation ? tr("Validation cancelled") : tr("Calculation cancelled"));
        break;
    case TRunEndState::Failed:
        FCalculationStatus->showEnded(validation ? tr("Validation failed") : tr("Calculation failed"));
        break;
    }
    if (validation && state == TRunEndState::Finished) {
        if (const auto& report = FWorkspace->Results().ValidationReport()) {
            if (!FValidationReport) {
                FValidationReport = new TValidationReportDialog(this);
                connect(FValidationReport, &TValidationReportDialog::saveRequested, this,
                        [this] { saveTableAs(FValidationReport->report(), tr("Validation")); });
            }
            FValidationReport->setReport(*report);
            FValidationReport->show();
            FValidationReport->raise();
        }
    }
    // Told once the window shows the end; queued, so that a handler may start the next run.
    QMetaObject::invokeMethod(this, &TForm1::calculationEnded, Qt::QueuedConnection);
}

}  // namespace quillprint
