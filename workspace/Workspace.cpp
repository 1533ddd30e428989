#include "workspace/Workspace.h"

#include <new>

#include "engine/Text.h"
#include "workspace/ProjectFolder.h"

namespace quillprint {

namespace {

constexpr const char* kTablesStep = "filling the tables";

// The chosen path without leading and trailing blanks and control
// characters, ending with a separator.
std::u16string ProjectFolderOf(std::u16string_view chosenPath) {
    size_t begin = 0, end = chosenPath.size();
    while (begin < end && chosenPath[begin] <= u' ') ++begin;
    while (end > begin && chosenPath[end - 1] <= u' ') --end;
    std::u16string folder(chosenPath.substr(begin, end - begin));
    if (folder.empty() || folder.back() != PathSeparator().front()) folder += PathSeparator();
    return folder;
}

// The text calculated again gave the numbers of its row.
bool SameOutcome(const TTextOutcome& row, const TTextOutcome& again) {
    if (row.Words != again.Words || row.Candidates.size() != again.Candidates.size()) return false;
    for (size_t c = 0; c < row.Candidates.size(); ++c)
        if (row.Candidates[c].Score != again.Candidates[c].Score) return false;
    return true;
}

}  // namespace

std::u16string ExampleFolderName(TExample example) {
    switch (example) {
        case TExample::Federalist: return u"FederalistShort";
        case TExample::Presidents: return u"Presidents";
        case TExample::Tutorial: return u"Tutorial";
        case TExample::Authors: return u"Authors";
        case TExample::Candidates: return u"Candidates";
    }
    return {};
}

TWorkspace::TWorkspace(std::u16string executableDir, std::string localeName, TTextView& textView,
                       TMessageSink& messages, TWorkspaceObserver& observer)
    : FExecutableDir(std::move(executableDir)),
      FLocaleName(std::move(localeName)),
      FMessages(messages),
      FObserver(observer),
      FProject(LegacyCodePageFor(FLocaleName), textView, observer, [this] { CandidatesChanged(); }),
      FResults(observer),
      FRuns(observer, [this](TRunEnd end) { FinishRun(std::move(end)); }) {}

TWorkspace::~TWorkspace() = default;

template <typename Action>
void TWorkspace::ReportErrors(Action action) {
    try {
        action();
    } catch (const std::bad_alloc&) {
        FMessages.ShowError(FromUtf8(OutOfMemoryMessage(FStep)));
    } catch (const std::exception& error) {
        FMessages.ShowError(FromUtf8(error.what()));
    }
}

// ---- The project ----

void TWorkspace::Start() { OpenExample(TExample::Federalist); }

std::optional<std::u16string> TWorkspace::ProjectRefusal(std::u16string_view projectDir) const {
    std::u16string refusal;
    if (ProjectAuthors(projectDir, &refusal, FOptions.FollowLinks())) return std::nullopt;
    return refusal;
}

std::optional<std::u16string> TWorkspace::FolderRefusal(std::u16string_view chosenPath) const {
    try {
        return ProjectRefusal(ProjectFolderOf(chosenPath));
    } catch (const TFolderReadError& error) {
        return FromUtf8(error.what());
    }
}

void TWorkspace::OpenFolder(std::u16string_view chosenPath) {
    if (FRuns.Running()) return;
    ReportErrors([this, chosenPath] {
        // A folder that is no project changes nothing: the open project
        // stays. One that cannot be read is an error.
        if (const std::optional<std::u16string> refusal = ProjectRefusal(ProjectFolderOf(chosenPath))) {
            FMessages.ShowMessage(*refusal);
            return;
        }
        LoadProject(ProjectFolderOf(chosenPath));
    });
}

void TWorkspace::ReloadProject() {
    if (FRuns.Running()) return;
    ReportErrors([this] { LoadProject(FProject.Folder()); });
}

void TWorkspace::OpenExample(TExample example) {
    if (FRuns.Running()) return;
    ReportErrors([this, example] {
        LoadProject(FExecutableDir + u"Examples" + PathSeparator() + ExampleFolderName(example) + PathSeparator());
    });
}

void TWorkspace::LoadProject(std::u16string_view projectDir) {
    FStep = "loading the project";
    FCalculated = false;
    BringToFront(TPage::InputData);
    // Checks of another project say nothing about the next one.
    FResults.SetCrossValidation(std::nullopt);
    FProject.Close(std::u16string(projectDir));
    ClearResults();
    if (const std::optional<std::u16string> refusal = FProject.Read(FOptions.FollowLinks()))
        FMessages.ShowMessage(*refusal);
}

void TWorkspace::NewProject() {
    if (FRuns.Running()) return;
    ReportErrors([this] {
        FCalculated = false;
        FResults.SetCrossValidation(std::nullopt);
        FProject.New();
        ClearResults();
        FResults.ShowEmptyTables();
        FObserver.GridsChanged();
        BringToFront(TPage::InputData);
    });
}

void TWorkspace::AddAuthor() {
    if (FRuns.Running()) return;
    ReportErrors([this] { FProject.AppendAuthor(); });
}

void TWorkspace::AddText() {
    if (FRuns.Running()) return;
    ReportErrors([this] { FProject.AddText(); });
}

void TWorkspace::SelectNode(TTreeNode* node) {
    ReportErrors([this, node] { FProject.SelectNode(node); });
}

void TWorkspace::SetLabel(TTreeNode& node, std::u16string label) {
    if (FRuns.Running()) return;
    if (FProject.SetLabel(node, std::move(label))) FObserver.GridsChanged();
}

void TWorkspace::AddExtractedAuthors(const TExtractionResult& extraction) {
    if (FRuns.Running() || extraction.Participants.empty()) return;
    ReportErrors([&] {
        FProject.AddExtractedAuthors(extraction);
        // The new entries are where the user can see them.
        BringToFront(TPage::InputData);
    });
}

void TWorkspace::AddTextFiles(TTreeNode& author, const std::vector<std::u16string>& paths) {
    if (FRuns.Running() || paths.empty()) return;
    ReportErrors([&] {
        const size_t texts = FProject.Texts().size();
        FProject.AddTextFiles(author, paths);
        if (FProject.Texts().size() != texts) BringToFront(TPage::InputData);
    });
}

std::u16string TWorkspace::HelpDocumentPath() const { return FExecutableDir + u"Quillprint.pdf"; }

// ---- Options ----

void TWorkspace::SettingsChanged() {
    FCalculated = false;
    ++FChanges;
}

void TWorkspace::CandidatesChanged() {
    SettingsChanged();
    FResults.SetValidationReport(std::nullopt);
}

void TWorkspace::SetBalance(bool balance) {
    if (!FRuns.Running() && FOptions.SetBalance(balance)) SettingsChanged();
}

void TWorkspace::SetEachText(bool eachText) {
    if (!FRuns.Running() && FOptions.SetEachText(eachText)) SettingsChanged();
}

void TWorkspace::SetSplitWordsByLanguage(bool byLanguage) {
    if (!FRuns.Running() && FOptions.SetSplitWordsByLanguage(byLanguage)) FCalculated = false;
}

void TWorkspace::SetLeaveOutCopies(bool leaveOut) {
    if (!FRuns.Running() && FOptions.SetLeaveOutCopies(leaveOut)) SettingsChanged();
}

void TWorkspace::SetCopyWords(int32_t words) {
    if (!FRuns.Running() && FOptions.SetCopyWords(words)) SettingsChanged();
}

// ---- What is shown ----

bool TWorkspace::ValidationMatchesResults() const {
    return FResults.ValidationReport() && FResultsChanges == FValidationChanges;
}

bool TWorkspace::ResultsStale() const { return FResultsChanges && *FResultsChanges != FChanges; }

void TWorkspace::ClearResults() {
    FResultsChanges.reset();
    FFailedChanges.reset();
    FResults.Clear();
}

void TWorkspace::ShowResults(std::optional<TPage> page) {
    FResults.Fill();
    FResultsChanges = FChanges;
    FFailedChanges.reset();
    FObserver.GridsChanged();
    if (page) BringToFront(*page);
    FCalculated = true;
}

void TWorkspace::ShowPage(TPage page) {
    ReportErrors([this, page] {
        FShownPage = page;
        // A run under way will fill the tables; none is started twice.
        if (FRuns.Running()) return;
        // A calculation that failed is not repeated until something changes.
        const bool refused = FFailedChanges == FChanges;
        if (!FCalculated && !refused &&
            StartRun(FOptions.EachText() ? TRunKind::EachText : TRunKind::Calculation, page))
            return;
        ChooseFirstAuthorOnStylometry();
    });
}

void TWorkspace::ChooseFirstAuthorOnStylometry() {
    if (FShownPage == TPage::Stylometry && FResults.ChosenAuthor() == -1 && !FResults.AuthorChoices().empty())
        ChooseAuthor(0);
}

void TWorkspace::BringToFront(TPage page) {
    FShownPage = page;
    FObserver.PageToFront(page);
}

void TWorkspace::ChooseAuthor(int32_t entry) {
    ReportErrors([this, entry] { FResults.ChooseAuthor(entry); });
}

// ---- Runs ----

void TWorkspace::Calculate() {
    ReportErrors([this] { StartRun(FOptions.EachText() ? TRunKind::EachText : TRunKind::Calculation, std::nullopt); });
}

void TWorkspace::Validate() {
    ReportErrors([this] {
        if (FRuns.Running()) return;
        // An empty tree has nothing to validate; what is shown stays.
        if (FProject.Tree().Empty()) {
            FResults.SetValidationReport(std::nullopt);
            return;
        }
        StartRun(TRunKind::ValidationReport, std::nullopt);
    });
}

void TWorkspace::CrossValidate(std::optional<int64_t> excerptWords) {
    ReportErrors([&] {
        if (FRuns.Running()) return;
        FOptions.SetExcerptWords(excerptWords);
        StartRun(TRunKind::CrossValidation, std::nullopt);
    });
}

std::vector<TCopyRow> TWorkspace::CopiedPassages() {
    if (FProject.Tree().Empty()) return {};
    return std::get<TCopiedPassagesResult>(ExecuteRun(PrepareRun(TRunKind::CopiedPassages)).Result).Rows;
}

bool TWorkspace::FindCopiedPassages() {
    if (FRuns.Running()) return false;
    FResults.SetFoundCopies(std::nullopt);
    return StartRun(TRunKind::CopiedPassages, std::nullopt);
}

void TWorkspace::ShowDisputedText(int32_t index) {
    ReportErrors([this, index] {
        // A text picked while another is being calculated follows it.
        if (FRuns.Running()) {
            if (FShowingText) FWantedText = index;
            return;
        }
        const std::vector<TTextOutcome>& rows = FResults.TextOutcomes();
        if (index < 0 || index >= static_cast<int32_t>(rows.size()) || index == FResults.ShownText()) return;
        const TTextOutcome& outcome = rows[static_cast<size_t>(index)];
        if (outcome.Failed() || !FResults.TextsRequest()) return;
        // Only the shown text's engine is kept: the selected one is
        // calculated again, from the texts and settings of the run that
        // made its row, exactly as that run did.
        TRunRequest request = *FResults.TextsRequest();
        request.ShardIndex = static_cast<int32_t>(outcome.Position);
        request.ShardCount = static_cast<int32_t>(DisputedTextCount(request));
        request.KeepFirstEngine = true;
        FShowingText = index;
        FRunUserPage.reset();
        FRuns.Start(std::move(request));
    });
}

TRunRequest TWorkspace::PrepareRun(TRunKind kind) {
    TRunRequest request;
    request.Kind = kind;
    request.LocaleName = FLocaleName;
    request.CodePage = FProject.CodePage();
    FOptions.ApplyTo(request);
    request.KeepFirstEngine = kind == TRunKind::EachText;
    request.Authors = FProject.RunSources();
    return request;
}

bool TWorkspace::RunCalculationNow(bool validation) {
    FResults.DropEngine();
    if (FProject.Tree().Empty()) return false;
    TRunOutcome outcome = ExecuteRun(PrepareRun(validation ? TRunKind::ValidationRun : TRunKind::Calculation));
    FResults.Adopt(std::get<TCalculationResult>(outcome.Result));
    return true;
}

bool TWorkspace::StartRun(TRunKind kind, std::optional<TPage> userPage) {
    if (FRuns.Running()) return false;
    // A run the user cancelled is started again only by the user.
    if (userPage && FLastRunCancelled) return false;
    if (FProject.Tree().Empty()) {
        // Nothing to calculate; no engine remains, nothing else changes.
        FResults.DropEngine();
        return false;
    }
    TRunRequest request = PrepareRun(kind);
    // The texts' rows keep no engines: selecting one calculates it again
    // from this request.
    if (kind == TRunKind::EachText) FRunTextsRequest = request;
    FRunUserPage = userPage;
    FRuns.Start(std::move(request));
    return true;
}

void TWorkspace::FinishRun(TRunEnd end) {
    if (const std::optional<int32_t> shown = std::exchange(FShowingText, std::nullopt)) {
        FinishShowingText(*shown, std::move(end));
        return;
    }
    const TRunKind kind = FRuns.Kind();
    if (kind == TRunKind::CopiedPassages) {
        // A list beside the results, which stay as they are.
        if (end.Outcome) FResults.SetFoundCopies(std::move(std::get<TCopiedPassagesResult>(end.Outcome->Result).Rows));
        FObserver.RunEnded(end.Outcome     ? TRunEndState::Finished
                           : end.Cancelled ? TRunEndState::Cancelled
                                           : TRunEndState::Failed);
        if (!end.Outcome && !end.Cancelled) FMessages.ShowError(end.Error);
        return;
    }
    FLastRunCancelled = end.Cancelled;
    if (end.Cancelled) {
        // Everything shown stays exactly as it was before the run.
        FObserver.RunEnded(TRunEndState::Cancelled);
        return;
    }
    if (!end.Outcome) {
        if (kind == TRunKind::ValidationReport) {
            // What is shown stays: a validation never touches it.
            FResults.SetValidationReport(std::nullopt);
        } else if (kind == TRunKind::CrossValidation) {
            FResults.DropEngine();
            FResults.SetCrossValidation(std::nullopt);
            FObserver.GridsChanged();
        } else {
            FResults.Fail();
            FFailedChanges = FChanges;
            FObserver.GridsChanged();
        }
        FObserver.RunEnded(TRunEndState::Failed);
        FMessages.ShowError(end.Error);
        return;
    }
    FStep = kTablesStep;
    ReportErrors([&] { AdoptOutcome(*end.Outcome); });
    FObserver.RunEnded(TRunEndState::Finished);
}

void TWorkspace::FinishShowingText(int32_t index, TRunEnd end) {
    // Whatever happens, the rows and the tables shown stay as they were
    // unless the text's engine came back with the numbers of its row.
    const TTextOutcome* text = nullptr;
    if (end.Outcome) {
        const auto& texts = std::get<TEachTextResult>(end.Outcome->Result).Texts;
        if (!texts.empty()) text = &texts.front();
    }
    if (text && text->Failed()) end.Error = text->Error;
    const std::vector<TTextOutcome>& rows = FResults.TextOutcomes();
    if (text && !text->Failed() &&
        (static_cast<size_t>(index) >= rows.size() || !SameOutcome(rows[static_cast<size_t>(index)], *text))) {
        end.Error = std::u16string(kTextsChangedMessage);
        text = nullptr;
    }
    if (!text || !text->Result.Engine) {
        FWantedText.reset();
        FObserver.RunEnded(end.Cancelled ? TRunEndState::Cancelled : TRunEndState::Failed);
        if (!end.Cancelled) FMessages.ShowError(end.Error);
        return;
    }
    FStep = kTablesStep;
    ReportErrors([&] { FResults.ShowText(index, text->Result); });
    FObserver.RunEnded(TRunEndState::Finished);
    if (const std::optional<int32_t> wanted = std::exchange(FWantedText, std::nullopt)) ShowDisputedText(*wanted);
}

void TWorkspace::AdoptOutcome(TRunOutcome& outcome) {
    if (outcome.Kind == TRunKind::CrossValidation) {
        // The checks change nothing shown but the trust beside "Result".
        FResults.SetCrossValidation(std::move(std::get<TCrossValidation>(outcome.Result)));
        FObserver.GridsChanged();
        return;
    }
    if (outcome.Kind == TRunKind::ValidationReport) {
        // Only the report changes; the engine, tables and pages shown stay.
        FResults.SetValidationReport(std::move(std::get<TValidationReport>(outcome.Result)));
        FValidationChanges = FChanges;
        return;
    }
    if (outcome.Kind == TRunKind::CopiedPassages) return;  // FinishRun keeps the list
    FResults.DropEngine();
    FResults.SetSplittingHint(outcome.SplittingHint);
    if (outcome.Kind == TRunKind::EachText)
        FResults.AdoptTexts(std::move(std::get<TEachTextResult>(outcome.Result).Texts),
                            std::exchange(FRunTextsRequest, std::nullopt).value());
    else
        FResults.Adopt(std::get<TCalculationResult>(outcome.Result));
    if (FRunUserPage) {
        // Started by a page change: the user stays on the page chosen. The
        // page "Texts" comes back to the front once its tab is offered again,
        // or "Result" when it is not.
        std::optional<TPage> page;
        if (*FRunUserPage == TPage::Texts) page = FResults.TextOutcomes().empty() ? TPage::Result : TPage::Texts;
        ShowResults(page);
        ChooseFirstAuthorOnStylometry();
    } else {
        ShowResults(outcome.Kind == TRunKind::EachText ? TPage::Texts : TPage::Result);
    }
}

}  // namespace quillprint
