// The window's commands and its side of the workspace's reports: each
// handler forwards to the workspace, and the observer methods mirror the
// model in the widgets.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "ui/AuthorTreeView.h"
#include "ui/BusyCursor.h"
#include "ui/CopiedPassagesDialog.h"
#include "ui/Form1.h"
#include "ui/GridModel.h"
#include "ui/GridView.h"
#include "ui/UserDialogs.h"
#include "ui/ValidationReportDialog.h"
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

void TForm1::Busy(const std::function<void()>& command) {
    ++FBusyDepth;
    {
        TBusyCursor busy;
        Guarded(command);
    }
    --FBusyDepth;
    if (FBusyDepth > 0) return;
    // Errors are shown once the cursor is back to normal.
    const QList<QString> errors = std::exchange(FPendingErrors, {});
    for (const QString& error : errors) FDialogs.ShowError(this, error);
}

// ---- Commands ----

void TForm1::acNewExecute() {
    Guarded([this] { FWorkspace->acNewExecute(); });
}

void TForm1::acAddAuthorExecute() {
    Guarded([this] { FWorkspace->acAddAuthorExecute(); });
}

void TForm1::acAddTextExecute() {
    Guarded([this] { FWorkspace->acAddTextExecute(); });
}

void TForm1::acOpenExecute() {
    const std::optional<QString> folder =
        FDialogs.ChooseFolder(this, tr("Select Directory"), QDir::currentPath());
    if (!folder) return;
    Guarded([&] { FWorkspace->acOpenExecute(QDir::toNativeSeparators(*folder).toStdU16String()); });
}

void TForm1::acFederalistExecute() {
    Guarded([this] { FWorkspace->acExampleExecute(TExample::Federalist); });
}

void TForm1::acPresidentsExecute() {
    Guarded([this] { FWorkspace->acExampleExecute(TExample::Presidents); });
}

void TForm1::acTutorialExecute() {
    Guarded([this] { FWorkspace->acExampleExecute(TExample::Tutorial); });
}

void TForm1::acAuthorsExecute() {
    Guarded([this] { FWorkspace->acExampleExecute(TExample::Authors); });
}

void TForm1::acCandidatesExecute() {
    Guarded([this] { FWorkspace->acExampleExecute(TExample::Candidates); });
}

void TForm1::btCalculateClick() {
    Busy([this] { FWorkspace->btCalculateClick(); });
}

void TForm1::acValidationExecute() {
    Busy([this] { FWorkspace->acValidationExecute(); });
    const auto& report = FWorkspace->ValidationReport();
    if (!report) return;
    if (!FValidationReport) FValidationReport = new TValidationReportDialog(this);
    FValidationReport->setReport(*report);
    FValidationReport->show();
    FValidationReport->raise();
}

void TForm1::acBalanceExecute(bool checked) {
    FWorkspace->SetBalance(checked);
}

void TForm1::acEachTextExecute(bool checked) {
    FWorkspace->SetEachText(checked);
}

void TForm1::acLeaveOutCopiesExecute(bool checked) {
    FWorkspace->SetLeaveOutCopies(checked);
}

void TForm1::acCopiesExecute() {
    std::vector<TCopyRow> rows;
    bool found = false;
    Busy([&] {
        rows = FWorkspace->CopiedPassages();
        found = true;
    });
    if (!found) return;
    if (!FCopiesDialog) {
        FCopiesDialog = new TCopiedPassagesDialog(this);
        connect(FCopiesDialog, &TCopiedPassagesDialog::passageChosen, this, &TForm1::showCopiedPassage);
    }
    FCopiesDialog->setPassages(std::move(rows), FWorkspace->CopyWords());
    FCopiesDialog->show();
    FCopiesDialog->raise();
}

void TForm1::showCopiedPassage(int index) {
    if (!FCopiesDialog || index < 0 || index >= static_cast<int>(FCopiesDialog->passages().size())) return;
    const TCopyRow& copy = FCopiesDialog->passages()[static_cast<size_t>(index)];
    TTreeNode* unknown = nullptr;
    for (const auto& author : FWorkspace->Tree().Authors())
        if (author->Label() == u"Unknown") unknown = author.get();
    if (!unknown || copy.UnknownPlace.Text < 0 ||
        copy.UnknownPlace.Text >= static_cast<int32_t>(unknown->Texts().size()))
        return;
    TTreeNode* text = unknown->Texts()[static_cast<size_t>(copy.UnknownPlace.Text)].get();
    setActivePage(tbAuthors);
    tvAuthors->selectNode(text);
    Guarded([&] { FWorkspace->SelectNode(text); });
    if (FWorkspace->Selected() != text) return;

    // Whole lines from the passage's first to its last; a passage that runs
    // on into the next text is marked to the end of this one.
    QTextDocument* document = mText->document();
    const int first = copy.UnknownPlace.Line - 1;
    const int last = copy.UnknownEnd.Text == copy.UnknownPlace.Text ? copy.UnknownEnd.Line - 1
                                                                    : document->blockCount() - 1;
    const QTextBlock begin = document->findBlockByNumber(first);
    const QTextBlock end = document->findBlockByNumber(std::min(last, document->blockCount() - 1));
    if (!begin.isValid() || !end.isValid()) return;
    QTextCursor cursor(document);
    cursor.setPosition(begin.position());
    cursor.setPosition(end.position() + end.length() - 1, QTextCursor::KeepAnchor);
    QTextEdit::ExtraSelection highlight;
    highlight.cursor = cursor;
    highlight.format.setBackground(QColor(255, 236, 140));
    mText->setExtraSelections({highlight});
    // The view scrolls to the passage's first line.
    QTextCursor start(begin);
    mText->setTextCursor(start);
    mText->centerCursor();
}

void TForm1::acHelpExecute() {
    FShell.OpenDocument(QString::fromStdU16String(FWorkspace->HelpDocumentPath()));
}

void TForm1::miCopyClick() {
    const QWidget* page = PageControl1->currentWidget();
    const TGrid* grid = nullptr;
    if (page == tbAnalysis) grid = &FWorkspace->sgAnalysis();
    else if (page == tbResult) grid = &FWorkspace->sgResult();
    else if (page == tbStylometry) grid = &FWorkspace->sgStylometry();
    else if (page == tbTexts) grid = &FWorkspace->sgTexts();
    if (!grid) return;
    QGuiApplication::clipboard()->setText(QString::fromStdU16String(CopyGrid(*grid)));
}

// ---- Pages and the author chooser ----

TPage TForm1::pageOf(QWidget* page) const {
    if (page == tbAnalysis) return TPage::Analysis;
    if (page == tbResult) return TPage::Result;
    if (page == tbStylometry) return TPage::Stylometry;
    if (page == tbTexts) return TPage::Texts;
    return TPage::InputData;
}

void TForm1::setActivePage(QWidget* page) {
    // Pages the program brings to the front do not count as the user's change.
    const QSignalBlocker blocker(PageControl1);
    PageControl1->setCurrentWidget(page);
}

void TForm1::PageControl1Change(int index) {
    const TPage page = pageOf(PageControl1->widget(index));
    if (FWorkspace->IsCalculated())
        Guarded([&] { FWorkspace->PageControl1Change(page); });
    else
        Busy([&] { FWorkspace->PageControl1Change(page); });
}

void TForm1::cbAuthorsChange(int entry) {
    Guarded([&] { FWorkspace->cbAuthorsChange(entry); });
}

void TForm1::refillAuthorChooser() {
    const QSignalBlocker blocker(cbAuthors);
    cbAuthors->clear();
    for (const TAuthorChoice& choice : FWorkspace->cbAuthors())
        cbAuthors->addItem(QString::fromStdU16String(choice.Name));
    cbAuthors->setCurrentIndex(FWorkspace->ChosenAuthor());
}

// ---- TWorkspaceObserver ----

void TForm1::TreeCleared() { tvAuthors->clearEntries(); }
void TForm1::AuthorAdded(const TTreeNode& author) { tvAuthors->addAuthor(author); }
void TForm1::TextAdded(const TTreeNode& text) { tvAuthors->addText(text); }
void TForm1::LabelChanged(const TTreeNode& node) { tvAuthors->updateLabel(node); }
void TForm1::SelectionSet(const TTreeNode* node) { tvAuthors->selectNode(node); }

void TForm1::PageToFront(TPage page) {
    switch (page) {
    case TPage::InputData: setActivePage(tbAuthors); break;
    case TPage::Analysis: setActivePage(tbAnalysis); break;
    case TPage::Result: setActivePage(tbResult); break;
    case TPage::Stylometry: setActivePage(tbStylometry); break;
    case TPage::Texts:
        showTextsState();
        setActivePage(tbTexts);
        break;
    }
}

void TForm1::GridsChanged() {
    FAnalysisModel->refresh();
    FResultModel->refresh();
    FStylometryModel->refresh();
    FTextsModel->refresh();
    refillAuthorChooser();
    showTextsState();
    refreshCharts();
}

void TForm1::showTextsState() {
    const bool texts = !FWorkspace->TextOutcomes().empty();
    PageControl1->setTabVisible(PageControl1->indexOf(tbTexts), texts);
    const QString label = QString::fromStdU16String(FWorkspace->ShownTextLabel());
    for (QLabel* band : FShownTextBands) {
        band->setText(tr("Text: %1").arg(label));
        band->setVisible(!label.isEmpty());
    }
    // Selecting the row shown already changes nothing in the workspace.
    if (texts && FWorkspace->ShownText() >= 0 && sgTexts->currentIndex().row() != FWorkspace->ShownText())
        sgTexts->selectRow(FWorkspace->ShownText());
}

void TForm1::sgTextsRowChanged(int row) {
    Guarded([&] { FWorkspace->ShowDisputedText(row); });
}

void TForm1::ProcessPendingEvents() {
    // Repaint only: the user's input waits until the command is done.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// ---- TMessageSink ----

void TForm1::ShowMessage(const std::u16string& text) {
    FDialogs.ShowMessage(this, QString::fromStdU16String(text));
}

void TForm1::ShowError(const std::u16string& text) {
    const QString message = QString::fromStdU16String(text);
    if (FBusyDepth > 0)
        FPendingErrors.append(message);
    else
        FDialogs.ShowError(this, message);
}

}  // namespace quillprint
