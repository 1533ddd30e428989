// The non-visual half of the main window: the project folder, the author
// tree, the in-memory texts, the engine and the three tables' contents. The
// window displays this model and forwards the user's actions to it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Quillprint.h"
#include "workspace/AuthorTree.h"
#include "workspace/BalancedSample.h"
#include "workspace/Calculation.h"
#include "workspace/CalculationService.h"
#include "workspace/ChartData.h"
#include "workspace/CopiedPassages.h"
#include "workspace/CrossValidation.h"
#include "workspace/EachText.h"
#include "workspace/Grid.h"
#include "workspace/ResultTable.h"
#include "workspace/RunRequest.h"
#include "workspace/ValidationReport.h"
#include "workspace/WorkspaceViews.h"

namespace quillprint {

// One participant of a chat export on its way into the tree.
struct TExtractedAuthor {
    std::u16string Label;
    TLines Lines;
};

// The example projects beside the executable.
enum class TExample { Federalist, Presidents, Tutorial, Authors, Candidates };
// "FederalistShort", "Presidents", "Tutorial", "Authors", "Candidates".
std::u16string ExampleFolderName(TExample example);

// Shown when a text of "Each text" is calculated again for its tables and
// no longer gives the numbers of its row.
inline constexpr std::u16string_view kTextsChangedMessage =
    u"The texts changed since \"Each text\" was calculated: press \"Calculate\" to see this text's tables.";

class TWorkspace {
public:
    // `executableDir` ends with a separator. Nothing is loaded yet; the
    // window calls Start(). The views must outlive the workspace.
    TWorkspace(std::u16string executableDir, std::string localeName, TTextView& textView,
               TMessageSink& messages, TWorkspaceObserver& observer);
    ~TWorkspace();
    TWorkspace(const TWorkspace&) = delete;
    TWorkspace& operator=(const TWorkspace&) = delete;

    // ---- User actions. Each reports its errors to the message sink and
    // returns normally; the window just forwards to them. While a
    // calculation runs, the actions that change the project do nothing. ----

    // Start-up: FProjectDir := executable folder + "Examples/FederalistShort/",
    // then LoadProject.
    void Start();
    // "Open folder" after the chooser returned `chosenPath` (not on cancel):
    // trims blanks and control characters, appends a separator, loads.
    void OpenFolder(std::u16string_view chosenPath);
    // Why the chosen folder cannot be opened as a project (the message
    // OpenFolder would show); nothing when it can.
    std::optional<std::u16string> FolderRefusal(std::u16string_view chosenPath) const;
    void OpenExample(TExample example);
    void NewProject();
    void AddAuthor();
    void AddText();
    // The user selected `node` in the tree widget (nullptr: none).
    void SelectNode(TTreeNode* node);
    // The user finished editing a label in place.
    void SetLabel(TTreeNode& node, std::u16string label);
    // "Calculate": a normal run (or one per text with "Each text"), then both
    // tables, the chooser and the page "Result" ("Texts"); FIsCalculated set.
    // In the background when RunInBackground was called, else at once.
    void Calculate();
    // "Validation": one validation run per candidate (balanced when Balance
    // is on), then the report in ValidationReport(). Nothing shown changes:
    // no table, page, band or engine.
    void Validate();
    // "Cross-validation": each known text held out in turn against the rest
    // (balanced and without copied passages as set), with excerpts of
    // `excerptWords` words (nothing: the disputed text's length; 0: whole
    // texts); the outcome in CrossValidation(). No table or page changes.
    void CrossValidate(std::optional<int64_t> excerptWords);
    // The toggle "Balance": calculations sample every candidate to an equal
    // size over several draws. Off by default. A change makes the shown
    // results out of date.
    void SetBalance(bool balance);
    bool Balance() const { return FBalance; }
    // The toggle "Each text": "Calculate" attributes every text of "Unknown"
    // on its own (each balanced when Balance is on), fills the table of
    // texts and shows the first text's tables. Off by default. A change
    // makes the shown results out of date.
    void SetEachText(bool eachText);
    bool EachText() const { return FEachText; }
    // The toggle "Split words by language": the runs of scripts written
    // without spaces are split into the words of the locale's dictionaries.
    // Off by default. A change makes the shown results out of date.
    void SetSplitWordsByLanguage(bool byLanguage);
    bool SplitWordsByLanguage() const { return FSplitting == TWordSplitting::Language; }
    // The setting "Follow links out of the project": the projects loaded
    // from now on read what links leading out of their folder point to.
    // Off by default: such a link is shown in the tree with a note and never
    // read.
    void SetFollowLinks(bool follow) { FFollowLinks = follow; }
    bool FollowLinks() const { return FFollowLinks; }
    // Loads the current project folder again, as the settings now read it.
    void ReloadProject();
    // How many threads a calculation uses (at least 1); with "Each text",
    // how many texts are calculated at once. Results never depend on it.
    void SetJobs(unsigned jobs) { FJobs = jobs < 1 ? 1 : jobs; }
    // The validation report tests every candidate, however many: by default
    // past kValidationReportSample only every m-th.
    void SetValidateEveryCandidate(bool every) { FValidateEveryCandidate = every; }
    // The user selected row `index` (0-based) of the table of texts: the
    // pages "Result", "Analysis" and "Stylometry" show that text's run. Only
    // the shown text's engine is kept, so the text is calculated again (in
    // the background once RunInBackground was called) from the texts and
    // settings of the run that made its row; until then the tables stay.
    void ShowDisputedText(int32_t index);
    // The toggle "Leave out copied passages": calculations leave every
    // passage of at least CopyWords() words that the unknown text shares
    // with a candidate out of the unknown text. Off by default. A change
    // makes the shown results out of date.
    void SetLeaveOutCopies(bool leaveOut);
    bool LeaveOutCopies() const { return FLeaveOutCopies; }
    void SetCopyWords(int32_t words);
    int32_t CopyWords() const { return FCopyWords; }
    // The copied passages of the project as it stands (texts read now).
    // Throws TFileReadError.
    std::vector<TCopyRow> CopiedPassages();
    // The same search as a run (in the background once RunInBackground was
    // called): the results stay as they are; FoundCopies() holds the list
    // once the run has finished. False when no run was started.
    bool FindCopiedPassages();
    const std::optional<std::vector<TCopyRow>>& FoundCopies() const { return FFoundCopies; }
    // Participants of a chat export become new authors, each holding one
    // in-memory text labelled `textLabel`; `unknownText`, when given, becomes
    // a new text of "Unknown". Nothing is written to disk; the results are
    // out of date; the page "Input data" comes to the front showing the first
    // new text. See ExtractedAuthors.cpp.
    void AddExtractedAuthors(std::u16string_view textLabel, const std::vector<TExtractedAuthor>& authors,
                             const std::optional<TLines>& unknownText);
    // Text files dropped on the author entry `author`: each is read by the
    // text reading rule and becomes an in-memory text of that author,
    // labelled with its file name. A file that cannot be read is reported
    // and nothing is added. The files are neither copied nor written; the
    // results are out of date; the first new text is shown. See DroppedTexts.cpp.
    void AddTextFiles(TTreeNode& author, const std::vector<std::u16string>& paths);
    // Texts kept only in memory (typed, pasted, dropped or extracted) that
    // hold anything: "New" or opening a project would lose them.
    bool HasTypedTexts() const;
    // The user selected page `page`: calculates when the results are out of
    // date (the user stays on `page`), and fills "Stylometry" on its first
    // visit.
    void ShowPage(TPage page);
    // The user chose entry `entry` of the author chooser (-1: none).
    void ChooseAuthor(int32_t entry);

    // ---- Calculations in the background. ----

    // From now on runs go to a worker thread. `wake` is called on that
    // thread when there is progress or an end to collect; the owner then
    // calls CollectRun on its own thread.
    void RunInBackground(std::function<void()> wake);
    bool Running() const { return FRunning; }
    TRunProgress Progress() const;
    // Asks the run to stop: it ends as cancelled, and everything shown
    // stays as it was before it started.
    void CancelRun();
    // Adopts the run's end if it has ended: results, a cancellation or an error.
    void CollectRun();
    // The last calculation failed: the tables show older results, or none.
    bool ResultsOutOfDate() const { return FResultsOutOfDate; }
    // The last calculation split words at separators only in a project
    // written mostly in scripts without spaces: the page "Result" shows
    // kSplitByLanguageHint.
    bool SplittingHint() const { return FSplittingHint; }
    // The tables show results, but the project or the settings changed
    // since they were calculated.
    bool ResultsStale() const;

    // ---- The operations behind the actions; errors propagate. ----

    // Makes AProjectFile (ending with a separator) the project folder and
    // reads it into the tree; reports a missing "Unknown" folder to the
    // message sink.
    void LoadProject(std::u16string_view AProjectFile);
    // Why `projectDir` is no project, or nothing; throws TFolderReadError.
    std::optional<std::u16string> ProjectRefusal(std::u16string_view projectDir) const;
    // What a run of `kind` needs from the tree and the text view; the
    // selected in-memory text takes the text view's lines first.
    TRunRequest PrepareRun(TRunKind kind);
    // One run on this thread (a normal one, or a validation run); false only
    // for an empty tree (no engine remains). Throws TFileReadError or the
    // engine's errors. With Balance on, the run is balanced and the engine
    // kept is that of its first draw. The tables are not refilled.
    bool RunCalculationNow(bool AValidation);

    // ---- The model, for display. ----
    const TAuthorTree& Tree() const { return FTree; }
    TTreeNode* Selected() const { return FSelected; }
    const std::u16string& ProjectDir() const { return FProjectDir; }
    const std::u16string& ExecutableDir() const { return FExecutableDir; }
    std::u16string HelpDocumentPath() const;  // "Quillprint.pdf" beside the executable
    bool IsCalculated() const { return FIsCalculated; }
    bool IsTreeUpdating() const { return FIsTreeUpdating; }
    const TTreeNode* PrevSelectedNode() const { return FPrevSelectedNode; }
    const std::vector<std::unique_ptr<TInMemoryText>>& Texts() const { return FTexts; }
    // The text Detect returned in the last successful run (CR after each line).
    const std::u16string& Summary() const { return FSummary; }
    // Each draw's candidate scores (engine order) of a balanced run shown in
    // the tables; empty otherwise.
    const std::vector<std::vector<double>>& DrawScores() const { return FDrawScores; }
    // Each candidate's own words (engine order) of a balanced run shown in
    // the tables; empty otherwise: the engine's authors hold them then.
    const std::vector<int64_t>& CandidateWords() const { return FCandidateWords; }
    // The engine, or nullptr after a run on an empty tree.
    TQuillprint* AuthorDetector() const { return FAuthorDetector.get(); }
    // The last "Validation" and its table; none before one, after a failed
    // one, and once the project loads, "New" is pressed or the candidates
    // change.
    const std::optional<TValidationReport>& ValidationReport() const { return FValidationReport; }
    std::optional<TGrid> ValidationTable() const;
    // The last cross-validation of this project; none before one, after a
    // failed one or once another project is loaded.
    const std::optional<TCrossValidation>& CrossValidation() const { return FCrossValidation; }
    // Beside the table "Result": the chance that the first candidate is right
    // and the verdict (after a cross-validation), then one line per text too
    // short to judge by. Empty while the tables show no current result.
    std::vector<std::u16string> TrustLines() const;
    // The validation report was made from the project and settings that
    // the shown results were calculated from.
    bool ValidationMatchesResults() const;
    // The texts of the last run with "Each text" (empty otherwise), the
    // table of them, and the row whose run the other tables show (-1: none).
    const std::vector<TTextOutcome>& TextOutcomes() const { return FTextOutcomes; }
    const TGrid& TextsTable() const { return FTextsGrid; }
    int32_t ShownText() const { return FShownText; }
    // The label of the text whose run the tables show; empty when the run
    // was not one of "Each text".
    std::u16string ShownTextLabel() const;
    const std::string& LocaleName() const { return FLocaleName; }
    const TGrid& ResultTable() const { return FResult; }
    // The numbers the results table shows, and the chart's bars made from them.
    const TResultRanking& ResultRanking() const { return FRanking; }
    std::vector<TScoreBar> ResultBars() const;
    const TGrid& AnalysisTable() const { return FAnalysis; }
    const TGrid& StylometryTable() const { return FStylometry; }
    // Rows the last stylometry fill wrote (the command-line tool prints these).
    int32_t StylometryRowsWritten() const { return FStylometryRowsWritten; }
    const std::vector<TAuthorChoice>& AuthorChoices() const { return FAuthorChoices; }
    int32_t ChosenAuthor() const { return FChosenAuthor; }  // -1: none

    // Colours of the drawing rules. Ordinary while the tables do not belong
    // to the current engine (after a failed or empty run).
    TScoreColour ResultCellColour(int32_t col, int32_t row) const;
    TScoreColour AnalysisCellColour(int32_t col, int32_t row) const;
    TScoreColour TextsCellColour(int32_t col, int32_t row) const;

    // The file path of a file-backed text entry (labels joined to FProjectDir).
    std::u16string TextPath(const TTreeNode& text) const;

private:
    template <typename Action>
    void ReportErrors(Action action);
    void ClearTree();
    // The project or a setting changed: the shown results are no longer
    // current. Candidates changing also drop the validation report.
    void SettingsChanged();
    void CandidatesChanged();
    // Empty tables, no texts of "Each text", no engine of the old project.
    void ClearResults();
    void AppendAuthor();
    void Select(TTreeNode* node);
    void SelectionChanged();
    // Starts a run of `kind`; `userPage` is set for a run started by a page
    // change. False when the tree is empty (the engine is then dropped).
    bool StartRun(TRunKind kind, std::optional<TPage> userPage);
    void StartPreparedRun(TRunRequest request, std::optional<TPage> userPage);
    void FinishRun(TRunEnd end);
    // The run that calculated text `index` of "Each text" again has ended.
    void FinishShowingText(int32_t index, TRunEnd end);
    void AdoptOutcome(TRunOutcome& outcome);
    void LoadGridResults();
    void LoadGridAnalysis();
    void FillStylometry(int32_t authorIndex);
    void WriteBack();
    void ShowText(TTreeNode& text);
    void DropEngine();
    void Adopt(const TCalculationResult& result);
    // Refills the tables from the engine; brings `page` to the front when given.
    void ShowResults(std::optional<TPage> page);
    void ChooseFirstAuthorOnStylometry();
    void BringToFront(TPage page);

    // What this thread was doing ("loading the project", "filling the
    // tables"), for the message when memory runs out.
    std::string FStep = "loading the project";
    std::u16string FExecutableDir;
    std::string FLocaleName;
    std::string FCodePage;
    TTextView& FTextView;
    TMessageSink& FMessages;
    TWorkspaceObserver& FObserver;

    std::u16string FProjectDir;
    std::vector<std::unique_ptr<TInMemoryText>> FTexts;
    TAuthorTree FTree;
    TTreeNode* FSelected = nullptr;
    TTreeNode* FPrevSelectedNode = nullptr;
    bool FIsTreeUpdating = false;
    bool FIsCalculated = false;
    std::shared_ptr<TQuillprint> FAuthorDetector;
    std::u16string FSummary;
    bool FBalance = false;
    bool FLeaveOutCopies = false;
    bool FFollowLinks = false;
    int32_t FCopyWords = kDefaultCopyWords;
    // The last run was balanced: its candidates' mean scores and draws won.
    std::vector<double> FMeanScores;
    std::vector<int32_t> FDrawsWon;
    std::vector<std::vector<double>> FDrawScores;
    std::vector<int64_t> FCandidateWords;
    bool FBalancedScores = false;
    std::optional<TValidationReport> FValidationReport;
    std::optional<TCrossValidation> FCrossValidation;
    std::optional<int64_t> FCrossExcerptWords;
    // Counts the changes of the project and the settings: the shown results
    // and the validation report each note the count they were made at; a
    // failed calculation notes it so that page changes do not repeat it.
    uint64_t FChanges = 0;
    std::optional<uint64_t> FResultsChanges;
    uint64_t FValidationChanges = 0;
    std::optional<uint64_t> FFailedChanges;
    bool FEachText = false;
    TWordSplitting FSplitting = TWordSplitting::Spaces;
    unsigned FJobs = 1;
    bool FValidateEveryCandidate = false;
    std::vector<TTextOutcome> FTextOutcomes;
    TGrid FTextsGrid;
    int32_t FShownText = -1;
    // What made the rows of "Each text" (the selected text is calculated
    // again from it), and the same for a run of them under way.
    std::optional<TRunRequest> FEachTextRequest;
    std::optional<TRunRequest> FNextEachTextRequest;
    // The text whose engine the run under way calculates again, and the
    // text picked meanwhile, shown next.
    std::optional<int32_t> FShowingText;
    std::optional<int32_t> FWantedText;

    TResultRanking FRanking;
    TGrid FResult;
    TGrid FAnalysis;
    TGrid FStylometry;
    int32_t FStylometryRowsWritten = 0;
    std::vector<TAuthorChoice> FAuthorChoices;
    int32_t FChosenAuthor = -1;
    // The tables were filled from the engine now in FAuthorDetector.
    bool FGridsCurrent = false;
    bool FResultsOutOfDate = false;
    bool FSplittingHint = false;
    TPage FShownPage = TPage::InputData;

    std::unique_ptr<TCalculationService> FService;
    bool FRunning = false;
    TRunKind FRunKind = TRunKind::Calculation;
    std::optional<TPage> FRunUserPage;
    bool FLastRunCancelled = false;
    std::optional<std::vector<TCopyRow>> FFoundCopies;
};

}  // namespace quillprint
