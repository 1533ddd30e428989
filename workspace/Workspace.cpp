#include "workspace/Workspace.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <new>

#include "engine/EngineError.h"
#include "engine/PhraseBudgetReport.h"
#include "engine/Text.h"
#include "workspace/AnalysisTable.h"
#include "workspace/BalancedRun.h"
#include "workspace/Confidence.h"
#include "workspace/CosineDelta.h"
#include "workspace/HeldBackLines.h"
#include "workspace/JobPool.h"
#include "workspace/LengthWarnings.h"
#include "workspace/ProjectFolder.h"
#include "workspace/StylometryTable.h"
#include "workspace/TextsTable.h"
#include "workspace/ValidationReport.h"

namespace quillprint {

namespace {

const std::u16string kUnknown(kUnknownLabel);
constexpr const char* kTablesStep = "filling the tables";

// Clears a flag on the way out, also when an error passes through.
class TFlagGuard {
public:
    explicit TFlagGuard(bool& flag) : FFlag(flag) { FFlag = true; }
    ~TFlagGuard() { FFlag = false; }
    TFlagGuard(const TFlagGuard&) = delete;
    TFlagGuard& operator=(const TFlagGuard&) = delete;

private:
    bool& FFlag;
};

bool IsExistingFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(path, error) && !std::filesystem::is_directory(path, error);
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
      FCodePage(LegacyCodePageFor(FLocaleName)),
      FTextView(textView),
      FMessages(messages),
      FObserver(observer),
      FAuthorDetector(std::make_shared<TQuillprint>(FLocaleName)),
      FJobs(DefaultJobs()),
      FTextsGrid(NewTextsGrid(false)),
      FResult(NewResultGrid()),
      FAnalysis(NewAnalysisGrid()),
      FStylometry(NewStylometryGrid()) {}

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

// ---- User actions ----

void TWorkspace::Start() {
    ReportErrors([this] {
        FProjectDir = FExecutableDir + u"Examples" + PathSeparator() + ExampleFolderName(TExample::Federalist) +
                      PathSeparator();
        LoadProject(FProjectDir);
    });
}

namespace {

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

}  // namespace

std::optional<std::u16string> TWorkspace::ProjectRefusal(std::u16string_view projectDir) const {
    std::u16string refusal;
    if (ProjectAuthors(projectDir, &refusal, FFollowLinks)) return std::nullopt;
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
    if (FRunning) return;
    ReportErrors([this, chosenPath] {
        // A folder that is no project changes nothing: the open project
        // stays. One that cannot be read is an error.
        if (const std::optional<std::u16string> refusal = ProjectRefusal(ProjectFolderOf(chosenPath))) {
            FMessages.ShowMessage(*refusal);
            return;
        }
        FProjectDir = ProjectFolderOf(chosenPath);
        LoadProject(FProjectDir);
    });
}

void TWorkspace::ReloadProject() {
    if (FRunning) return;
    ReportErrors([this] { LoadProject(FProjectDir); });
}

void TWorkspace::OpenExample(TExample example) {
    if (FRunning) return;
    ReportErrors([this, example] {
        FProjectDir = FExecutableDir + u"Examples" + PathSeparator() + ExampleFolderName(example) + PathSeparator();
        LoadProject(FProjectDir);
    });
}

void TWorkspace::NewProject() {
    if (FRunning) return;
    ReportErrors([this] {
        FTextView.SetReadOnly(false);
        FIsCalculated = false;
        {
            TFlagGuard updating(FIsTreeUpdating);
            FTextView.SetVisible(false);
            ClearTree();
            FPrevSelectedNode = nullptr;
        }
        AppendAuthor();
        TTreeNode& first = *FTree.Authors().front();
        FTree.SetLabel(first, kUnknown);
        FObserver.LabelChanged(first);

        FTextView.SetLines({});
        ClearResults();
        // The result header stays.
        FAnalysis.SetRowCount(2);
        FResult.SetRowCount(2);
        FObserver.GridsChanged();
        BringToFront(TPage::InputData);
        FTextView.SetVisible(true);
    });
}

void TWorkspace::AddAuthor() {
    if (FRunning) return;
    ReportErrors([this] { AppendAuthor(); });
}

void TWorkspace::AddText() {
    if (FRunning) return;
    ReportErrors([this] {
        // An author set aside is never calculated, so a text there would be lost.
        if (!FSelected || FSelected->Author()->IsSetAside()) return;
        CandidatesChanged();
        FTexts.push_back(std::make_unique<TInMemoryText>());
        TTreeNode& author = *FSelected->Author();
        const auto number = static_cast<int64_t>(author.Texts().size()) + 1;
        TTreeNode& text = FTree.AddText(author, Decimal(number), FTexts.back().get());
        FObserver.TextAdded(text);
        Select(&text);
    });
}

void TWorkspace::SelectNode(TTreeNode* node) {
    ReportErrors([this, node] {
        FSelected = FTree.Contains(node) ? node : nullptr;
        SelectionChanged();
    });
}

void TWorkspace::SetLabel(TTreeNode& node, std::u16string label) {
    if (FRunning || !FTree.Contains(&node) || node.Label() == label) return;
    FTree.SetLabel(node, std::move(label));
    CandidatesChanged();
    FObserver.GridsChanged();
}

void TWorkspace::Calculate() {
    ReportErrors([this] { StartRun(FEachText ? TRunKind::EachText : TRunKind::Calculation, std::nullopt); });
}

void TWorkspace::Validate() {
    ReportErrors([this] {
        if (FRunning) return;
        // An empty tree has nothing to validate; what is shown stays.
        if (FTree.Empty()) {
            FValidationReport.reset();
            return;
        }
        StartRun(TRunKind::ValidationReport, std::nullopt);
    });
}

void TWorkspace::CrossValidate(std::optional<int64_t> excerptWords) {
    ReportErrors([&] {
        if (FRunning) return;
        FCrossExcerptWords = excerptWords;
        StartRun(TRunKind::CrossValidation, std::nullopt);
    });
}

std::vector<std::u16string> TWorkspace::TrustLines() const {
    std::vector<std::u16string> lines;
    if (!FAuthorDetector || !FGridsCurrent || !FAuthorDetector->Test()) return lines;
    std::vector<std::u16string> names;
    std::vector<int64_t> sampleWords;
    for (const auto& author : FAuthorDetector->Authors())
        if (author.get() != FAuthorDetector->Test()) {
            names.push_back(author->Name());
            sampleWords.push_back(author->WordCount());
        }
    if (FCrossValidation && FCrossValidation->Names == names) {
        TCalculationResult shown;
        shown.Engine = FAuthorDetector;
        shown.Balanced = FBalancedScores;
        shown.MeanScores = FMeanScores;
        const TConfidence confidence = JudgeScores(shown.CandidateScores(), FCrossValidation->Fit());
        lines.push_back(ChanceText(confidence, names));
        lines.push_back(u"Verdict: " + VerdictText(confidence, names));
    }
    // The second opinion of frequent words, beside the phrases' ranking.
    std::vector<const TWordList*> words;
    for (const auto& author : FAuthorDetector->Authors())
        if (author.get() != FAuthorDetector->Test()) words.push_back(&author->Text());
    TCalculationResult ranked;
    ranked.Engine = FAuthorDetector;
    ranked.Balanced = FBalancedScores;
    ranked.MeanScores = FMeanScores;
    if (!names.empty())
        lines.push_back(SecondOpinionText(CosineDelta(words, FAuthorDetector->Test()->Text()), names,
                                          RankedFirst(ranked.CandidateScores())));
    // The candidates' whole samples, as cross-validation counted them, when known.
    if (FCrossValidation && FCrossValidation->Names == names) sampleWords = FCrossValidation->SampleWords;
    for (std::u16string& warning : LengthWarnings(FAuthorDetector->Test()->WordCount(), names, sampleWords))
        lines.push_back(std::move(warning));
    return lines;
}

std::optional<TGrid> TWorkspace::ValidationTable() const {
    if (!FValidationReport) return std::nullopt;
    return ValidationReportGrid(*FValidationReport);
}

bool TWorkspace::ValidationMatchesResults() const {
    return FValidationReport && FResultsChanges == FValidationChanges;
}

bool TWorkspace::ResultsStale() const { return FResultsChanges && *FResultsChanges != FChanges; }

void TWorkspace::ShowResults(std::optional<TPage> page) {
    if (!FAuthorDetector) {
        // No text of "Each text" had a result: no old rows may stay.
        FResult = NewResultGrid();
        FRanking = {};
        FAnalysis = NewAnalysisGrid();
    }
    LoadGridResults();
    LoadGridAnalysis();
    FGridsCurrent = true;
    FResultsOutOfDate = false;
    FResultsChanges = FChanges;
    FFailedChanges.reset();
    FObserver.GridsChanged();
    if (page) BringToFront(*page);
    FIsCalculated = true;
}

void TWorkspace::SetBalance(bool balance) {
    if (FRunning) return;
    if (balance != FBalance) SettingsChanged();
    FBalance = balance;
}

void TWorkspace::SetEachText(bool eachText) {
    if (FRunning) return;
    if (eachText != FEachText) SettingsChanged();
    FEachText = eachText;
}

void TWorkspace::SetSplitWordsByLanguage(bool byLanguage) {
    if (FRunning) return;
    const TWordSplitting splitting = byLanguage ? TWordSplitting::Language : TWordSplitting::Spaces;
    if (splitting != FSplitting) FIsCalculated = false;
    FSplitting = splitting;
}

void TWorkspace::ShowDisputedText(int32_t index) {
    ReportErrors([this, index] {
        // A text picked while another is being calculated follows it.
        if (FRunning) {
            if (FShowingText) FWantedText = index;
            return;
        }
        if (index < 0 || index >= static_cast<int32_t>(FTextOutcomes.size()) || index == FShownText) return;
        const TTextOutcome& outcome = FTextOutcomes[static_cast<size_t>(index)];
        if (outcome.Failed() || !FEachTextRequest) return;
        // Only the shown text's engine is kept: the selected one is
        // calculated again, from the texts and settings of the run that
        // made its row, exactly as that run did.
        TRunRequest request = *FEachTextRequest;
        request.ShardIndex = static_cast<int32_t>(outcome.Position);
        request.ShardCount = static_cast<int32_t>(DisputedTextCount(request));
        request.KeepFirstEngine = true;
        FShowingText = index;
        StartPreparedRun(std::move(request), std::nullopt);
    });
}

std::u16string TWorkspace::ShownTextLabel() const {
    if (FShownText < 0 || FShownText >= static_cast<int32_t>(FTextOutcomes.size())) return {};
    return FTextOutcomes[static_cast<size_t>(FShownText)].Label;
}

void TWorkspace::SetLeaveOutCopies(bool leaveOut) {
    if (FRunning) return;
    if (leaveOut != FLeaveOutCopies) SettingsChanged();
    FLeaveOutCopies = leaveOut;
}

void TWorkspace::SetCopyWords(int32_t words) {
    if (FRunning) return;
    if (words != FCopyWords) SettingsChanged();
    FCopyWords = std::max(words, 1);
}

std::vector<TCopyRow> TWorkspace::CopiedPassages() {
    if (FTree.Empty()) return {};
    return std::get<TCopiedPassagesResult>(ExecuteRun(PrepareRun(TRunKind::CopiedPassages)).Result).Rows;
}

bool TWorkspace::FindCopiedPassages() {
    if (FRunning) return false;
    FFoundCopies.reset();
    return StartRun(TRunKind::CopiedPassages, std::nullopt);
}

void TWorkspace::ShowPage(TPage page) {
    ReportErrors([this, page] {
        FShownPage = page;
        // A run under way will fill the tables; none is started twice.
        if (FRunning) return;
        // A calculation that failed is not repeated until something changes.
        const bool refused = FFailedChanges == FChanges;
        if (!FIsCalculated && !refused && StartRun(FEachText ? TRunKind::EachText : TRunKind::Calculation, page))
            return;
        ChooseFirstAuthorOnStylometry();
    });
}

void TWorkspace::ChooseFirstAuthorOnStylometry() {
    if (FShownPage == TPage::Stylometry && FChosenAuthor == -1 && !FAuthorChoices.empty()) ChooseAuthor(0);
}

void TWorkspace::BringToFront(TPage page) {
    FShownPage = page;
    FObserver.PageToFront(page);
}

void TWorkspace::ChooseAuthor(int32_t entry) {
    ReportErrors([this, entry] {
        if (entry < 0 || entry >= static_cast<int32_t>(FAuthorChoices.size())) return;
        FChosenAuthor = entry;
        FillStylometry(FAuthorChoices[entry].EngineIndex);
    });
}

// ---- Project and tree ----

void TWorkspace::LoadProject(std::u16string_view projectDir) {
    // Every caller loads the folder it has just made current.
    const std::u16string AProjectFile(projectDir);
    FProjectDir = AProjectFile;
    FStep = "loading the project";
    FTextView.SetReadOnly(true);
    FPrevSelectedNode = nullptr;
    FIsCalculated = false;
    BringToFront(TPage::InputData);
    {
        TFlagGuard updating(FIsTreeUpdating);
        ClearTree();
    }
    FTextView.SetLines({});
    ClearResults();

    std::u16string refusal;
    std::vector<TSetAsideEntry> setAside;
    const std::optional<std::vector<TAuthorSource>> authors =
        ProjectAuthors(AProjectFile, &refusal, FFollowLinks, &setAside);
    if (!authors) {
        FMessages.ShowMessage(refusal);
        return;
    }
    // The tree is filled only once every folder has been listed, so a folder
    // that cannot be listed leaves no half-loaded tree behind. What is set
    // aside comes after what is read, so the texts keep their places.
    for (const TAuthorSource& source : *authors) {
        TTreeNode& author = FTree.AddAuthor(source.Label);
        FObserver.AuthorAdded(author);
        for (const TTextSource& text : source.Texts) FObserver.TextAdded(FTree.AddText(author, text.Label, nullptr));
    }
    for (const TSetAsideEntry& entry : setAside) {
        if (entry.Text.empty()) {
            FObserver.AuthorAdded(FTree.AddAuthor(entry.Author, SetAsideNote(entry.Kind)));
            continue;
        }
        for (const auto& author : FTree.Authors())
            if (author->Label() == entry.Author)
                FObserver.TextAdded(FTree.AddText(*author, entry.Text, nullptr, SetAsideNote(entry.Kind)));
    }

    const TTreeNode& first = *FTree.Authors().front();
    if (!first.Texts().empty()) Select(first.Texts().front().get());
}

void TWorkspace::ClearTree() {
    FSelected = nullptr;
    // Checks of another project say nothing about the next one.
    FCrossValidation.reset();
    FTree.Clear();
    CandidatesChanged();
    FObserver.TreeCleared();
}

void TWorkspace::SettingsChanged() {
    FIsCalculated = false;
    ++FChanges;
}

void TWorkspace::CandidatesChanged() {
    SettingsChanged();
    FValidationReport.reset();
}

void TWorkspace::ClearResults() {
    FAnalysis = NewAnalysisGrid();
    FResult = NewResultGrid();
    FRanking = {};
    FStylometry = NewStylometryGrid();
    FResultsOutOfDate = false;
    FResultsChanges.reset();
    FFailedChanges.reset();
    DropEngine();
}

void TWorkspace::AppendAuthor() {
    FTextView.SetReadOnly(false);
    CandidatesChanged();
    // Numbered as if every author held one text: half the entries of the
    // tree, authors and texts together, so numbers may repeat or skip.
    const int32_t number = FTree.EntryCount() / 2;
    TTreeNode& author = FTree.AddAuthor(u"Author " + Decimal(number));
    FObserver.AuthorAdded(author);
    FTexts.push_back(std::make_unique<TInMemoryText>());
    TTreeNode& text = FTree.AddText(author, u"1", FTexts.back().get());
    FObserver.TextAdded(text);
    Select(&text);
}

void TWorkspace::Select(TTreeNode* node) {
    FSelected = node;
    FObserver.SelectionSet(node);
    SelectionChanged();
}

void TWorkspace::WriteBack() {
    if (FPrevSelectedNode && FPrevSelectedNode->Text()) FPrevSelectedNode->Text()->Lines = FTextView.Lines();
}

void TWorkspace::SelectionChanged() {
    if (FIsTreeUpdating) return;
    WriteBack();
    if (!FSelected) return;
    if (FSelected->IsAuthor()) {
        // An author never stays selected while it has texts.
        if (!FSelected->Texts().empty()) Select(FSelected->Texts().front().get());
        return;
    }
    ShowText(*FSelected);
}

void TWorkspace::ShowText(TTreeNode& text) {
    if (text.IsSetAside()) {
        // Never read: the tree says why.
        FPrevSelectedNode = &text;
        FTextView.SetLines({});
        return;
    }
    const std::filesystem::path path = ResolvePath(TextPath(text));
    if (!text.Text() && IsExistingFile(path)) {
        // Nothing is written back to a file's entry: the view may take its time.
        FTextView.ShowFile(path, FCodePage);
        FPrevSelectedNode = &text;
        return;
    }
    TLines lines;
    if (IsExistingFile(path))
        lines = ReadTextFile(path, FCodePage);
    else if (text.Text())
        lines = text.Text()->Lines;
    else
        throw TFileReadError(ToFsPath(TextPath(text)), std::strerror(ENOENT));
    // Only a text actually shown becomes the write-back target, so a failed
    // read never lets the previous text overwrite this entry's own.
    FPrevSelectedNode = &text;
    FTextView.SetLines(lines);
}

std::u16string TWorkspace::TextPath(const TTreeNode& text) const {
    return FProjectDir + text.Parent()->Label() + PathSeparator() + text.Label();
}

std::u16string TWorkspace::HelpDocumentPath() const { return FExecutableDir + u"Quillprint.pdf"; }

// ---- Calculation ----

void TWorkspace::DropEngine() {
    FAuthorDetector.reset();
    FSplittingHint = false;
    FSummary.clear();
    FBalancedScores = false;
    FMeanScores.clear();
    FDrawsWon.clear();
    FDrawScores.clear();
    FCandidateWords.clear();
    FTextOutcomes.clear();
    FEachTextRequest.reset();
    FTextsGrid = NewTextsGrid(false);
    FShownText = -1;
    // Nothing shown may refer to the destroyed engine any more.
    FGridsCurrent = false;
    FAuthorChoices.clear();
    FChosenAuthor = -1;
    FObserver.GridsChanged();
}

void TWorkspace::Adopt(const TCalculationResult& result) {
    FAuthorDetector = result.Engine;
    FSummary = result.Summary;
    FBalancedScores = result.Balanced;
    FMeanScores = result.MeanScores;
    FDrawsWon = result.DrawsWon;
    FDrawScores = result.DrawScores;
    FCandidateWords = result.CandidateWords;
}

TRunRequest TWorkspace::PrepareRun(TRunKind kind) {
    TRunRequest request;
    request.Kind = kind;
    request.LocaleName = FLocaleName;
    request.CodePage = FCodePage;
    request.Balance = FBalance;
    request.LeaveOutCopies = FLeaveOutCopies ? FCopyWords : 0;
    request.Splitting = FSplitting;
    request.CopyWords = FCopyWords;
    request.Jobs = FJobs;
    if (FValidateEveryCandidate) request.ValidationReportSample = 0;
    request.ExcerptWords = FCrossExcerptWords;
    request.KeepFirstEngine = kind == TRunKind::EachText;
    for (const auto& author : FTree.Authors()) {
        // What the project sets aside is never read.
        if (author->IsSetAside()) continue;
        TAuthorSource source{author->Label(), {}};
        for (const auto& text : author->Texts()) {
            if (text->IsSetAside()) continue;
            TTextSource textSource{text->Label(), TextPath(*text), std::nullopt};
            if (text->Text()) {
                // Edits of the selected text not yet written back count.
                if (text.get() == FSelected) text->Text()->Lines = FTextView.Lines();
                textSource.Lines = text->Text()->Lines;
            }
            source.Texts.push_back(std::move(textSource));
        }
        request.Authors.push_back(std::move(source));
    }
    return request;
}

bool TWorkspace::RunCalculationNow(bool AValidation) {
    DropEngine();
    if (FTree.Empty()) return false;
    TRunOutcome outcome = ExecuteRun(PrepareRun(AValidation ? TRunKind::ValidationRun : TRunKind::Calculation));
    Adopt(std::get<TCalculationResult>(outcome.Result));
    return true;
}

void TWorkspace::RunInBackground(std::function<void()> wake) {
    FService = std::make_unique<TCalculationService>(std::move(wake));
}

TRunProgress TWorkspace::Progress() const { return FService ? FService->Progress() : TRunProgress{}; }

void TWorkspace::CancelRun() {
    if (FService) FService->Cancel();
}

bool TWorkspace::StartRun(TRunKind kind, std::optional<TPage> userPage) {
    if (FRunning) return false;
    // A run the user cancelled is started again only by the user.
    if (userPage && FLastRunCancelled) return false;
    if (FTree.Empty()) {
        // Nothing to calculate; no engine remains, nothing else changes.
        DropEngine();
        return false;
    }
    TRunRequest request = PrepareRun(kind);
    // The texts' rows keep no engines: selecting one calculates it again
    // from this request.
    if (kind == TRunKind::EachText) FNextEachTextRequest = request;
    StartPreparedRun(std::move(request), userPage);
    return true;
}

void TWorkspace::StartPreparedRun(TRunRequest request, std::optional<TPage> userPage) {
    FRunning = true;
    FRunKind = request.Kind;
    FRunUserPage = userPage;
    FObserver.RunStarted();
    if (FService)
        FService->Start(std::move(request));
    else
        FinishRun(ExecuteRunCaught(request));
}

void TWorkspace::CollectRun() {
    if (!FService || !FRunning) return;
    if (std::optional<TRunEnd> end = FService->TakeEnd()) FinishRun(std::move(*end));
}

void TWorkspace::FinishRun(TRunEnd end) {
    FRunning = false;
    if (const std::optional<int32_t> shown = std::exchange(FShowingText, std::nullopt)) {
        FinishShowingText(*shown, std::move(end));
        return;
    }
    if (FRunKind == TRunKind::CopiedPassages) {
        // A list beside the results, which stay as they are.
        if (end.Outcome) FFoundCopies = std::move(std::get<TCopiedPassagesResult>(end.Outcome->Result).Rows);
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
        if (FRunKind == TRunKind::ValidationReport) {
            // What is shown stays: a validation never touches it.
            FValidationReport.reset();
        } else if (FRunKind == TRunKind::CrossValidation) {
            DropEngine();
            FCrossValidation.reset();
            FObserver.GridsChanged();
        } else {
            DropEngine();
            FResultsOutOfDate = true;
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

namespace {

// The text calculated again gave the numbers of its row.
bool SameOutcome(const TTextOutcome& row, const TTextOutcome& again) {
    if (row.Words != again.Words || row.Candidates.size() != again.Candidates.size()) return false;
    for (size_t c = 0; c < row.Candidates.size(); ++c)
        if (row.Candidates[c].Score != again.Candidates[c].Score) return false;
    return true;
}

}  // namespace

void TWorkspace::FinishShowingText(int32_t index, TRunEnd end) {
    // Whatever happens, the rows and the tables shown stay as they were
    // unless the text's engine came back with the numbers of its row.
    const TTextOutcome* text = nullptr;
    if (end.Outcome) {
        const auto& texts = std::get<TEachTextResult>(end.Outcome->Result).Texts;
        if (!texts.empty()) text = &texts.front();
    }
    if (text && text->Failed()) end.Error = text->Error;
    if (text && !text->Failed() &&
        (static_cast<size_t>(index) >= FTextOutcomes.size() ||
         !SameOutcome(FTextOutcomes[static_cast<size_t>(index)], *text))) {
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
    ReportErrors([&] {
        Adopt(text->Result);
        FShownText = index;
        LoadGridResults();
        LoadGridAnalysis();
        FGridsCurrent = true;
        FObserver.GridsChanged();
    });
    FObserver.RunEnded(TRunEndState::Finished);
    if (const std::optional<int32_t> wanted = std::exchange(FWantedText, std::nullopt)) ShowDisputedText(*wanted);
}

void TWorkspace::AdoptOutcome(TRunOutcome& outcome) {
    if (outcome.Kind == TRunKind::CrossValidation) {
        // The checks change nothing shown but the trust beside "Result".
        FCrossValidation = std::move(std::get<TCrossValidation>(outcome.Result));
        FObserver.GridsChanged();
        return;
    }
    if (outcome.Kind == TRunKind::ValidationReport) {
        // Only the report changes; the engine, tables and pages shown stay.
        FValidationReport = std::move(std::get<TValidationReport>(outcome.Result));
        // The report's own engine is not shown: it would only hold memory.
        FValidationReport->LastEngine.reset();
        FValidationChanges = FChanges;
        return;
    }
    DropEngine();
    FSplittingHint = outcome.SplittingHint;
    switch (outcome.Kind) {
        case TRunKind::Calculation:
        case TRunKind::ValidationRun: Adopt(std::get<TCalculationResult>(outcome.Result)); break;
        case TRunKind::EachText:
            FTextOutcomes = std::move(std::get<TEachTextResult>(outcome.Result).Texts);
            FTextsGrid = TextsGrid(FTextOutcomes, FBalance);
            FEachTextRequest = std::move(FNextEachTextRequest);
            // The other pages show the first text that has a result, the
            // only one whose engine the run kept; the rows keep none.
            for (size_t i = 0; i < FTextOutcomes.size(); ++i) {
                if (FTextOutcomes[i].Failed()) continue;
                Adopt(FTextOutcomes[i].Result);
                FTextOutcomes[i].Result.Engine.reset();
                FShownText = static_cast<int32_t>(i);
                break;
            }
            break;
        case TRunKind::ValidationReport: return;  // adopted above
        case TRunKind::CrossValidation: return;
        case TRunKind::CopiedPassages: return;  // FinishRun keeps the list; nothing shown changes
    }
    if (FRunUserPage) {
        // Started by a page change: the user stays on the page chosen. The
        // page "Texts" comes back to the front once its tab is offered again,
        // or "Result" when it is not.
        std::optional<TPage> page;
        if (*FRunUserPage == TPage::Texts) page = FTextOutcomes.empty() ? TPage::Result : TPage::Texts;
        ShowResults(page);
        ChooseFirstAuthorOnStylometry();
    } else {
        ShowResults(outcome.Kind == TRunKind::EachText ? TPage::Texts : TPage::Result);
    }
}

void TWorkspace::LoadGridResults() {
    TCalculationResult shown;
    shown.Engine = FAuthorDetector;
    shown.Balanced = FBalancedScores;
    shown.MeanScores = FMeanScores;
    shown.DrawsWon = FDrawsWon;
    if (shown.Engine) {
        FRanking = RankResult(shown);
        FillResultGrid(FRanking, FResult);
        FAuthorChoices = quillprint::AuthorChoices(*shown.Engine);
    }
    FChosenAuthor = -1;
}

std::vector<TScoreBar> TWorkspace::ResultBars() const {
    return ResultChartBars(FRanking, FAuthorDetector && FGridsCurrent, FDrawScores);
}

void TWorkspace::LoadGridAnalysis() {
    if (FAuthorDetector) quillprint::LoadGridAnalysis(*FAuthorDetector, FAnalysis);
}

void TWorkspace::FillStylometry(int32_t authorIndex) {
    if (!FAuthorDetector || authorIndex < 0) return;
    TAuthor& author = *FAuthorDetector->Authors().at(static_cast<size_t>(authorIndex));
    FStylometryRowsWritten = quillprint::FillStylometry(author, authorIndex, FStylometry);
    FObserver.GridsChanged();
}

TScoreColour TWorkspace::ResultCellColour(int32_t col, int32_t row) const {
    if (!FAuthorDetector || !FGridsCurrent) return TScoreColour::Ordinary;
    return quillprint::ResultCellColour(FResult, col, row);
}

TScoreColour TWorkspace::TextsCellColour(int32_t col, int32_t row) const {
    if (FTextOutcomes.empty()) return TScoreColour::Ordinary;
    return quillprint::TextsCellColour(FTextsGrid, FTextOutcomes, col, row);
}

TScoreColour TWorkspace::AnalysisCellColour(int32_t col, int32_t row) const {
    if (!FAuthorDetector || !FGridsCurrent) return TScoreColour::Ordinary;
    return quillprint::AnalysisCellColour(FAnalysis, col, row);
}

}  // namespace quillprint
