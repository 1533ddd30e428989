// The non-visual half of the main window: it owns the project, the run
// options, the run controller and the shown results, and turns the user's
// actions into changes of them. The window displays these and forwards the
// user's actions here.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "workspace/Project.h"
#include "workspace/RunController.h"
#include "workspace/RunOptions.h"
#include "workspace/ShownResults.h"
#include "workspace/WorkspaceViews.h"

namespace quillprint {

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

    // ---- What the window shows. ----
    const TProject& Project() const { return FProject; }
    const TRunOptions& Options() const { return FOptions; }
    const TRunController& Runs() const { return FRuns; }
    const TShownResults& Results() const { return FResults; }

    // ---- User actions. Each reports its errors to the message sink and
    // returns normally. While a run is under way, the actions that change
    // the project or the settings do nothing. ----

    // Start-up: opens the example "FederalistShort" beside the executable.
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
    // The user selected `node` in the tree (nullptr: none).
    void SelectNode(TTreeNode* node);
    // The user finished editing a label in place.
    void SetLabel(TTreeNode& node, std::u16string label);
    // See TProject::AddExtractedAuthors and AddTextFiles; the page "Input
    // data" comes to the front showing the first new text.
    void AddExtractedAuthors(const TExtractionResult& extraction);
    void AddTextFiles(TTreeNode& author, const std::vector<std::u16string>& paths);
    // Loads the current project folder again, as the settings now read it.
    void ReloadProject();

    // "Calculate": a normal run (or one per text with "Each text"), then the
    // tables, the chooser and the page "Result" ("Texts").
    void Calculate();
    // "Validation": one validation run per candidate (balanced when Balance
    // is on), then the report in Results().ValidationReport(). Nothing shown
    // changes: no table, page, band or engine.
    void Validate();
    // "Cross-validation": each known text held out in turn against the rest,
    // with excerpts of `excerptWords` words (nothing: the disputed text's
    // length; 0: whole texts); the outcome in Results().CrossValidation().
    void CrossValidate(std::optional<int64_t> excerptWords);
    // The copied passages of the project as it stands (texts read now).
    // Throws TFileReadError.
    std::vector<TCopyRow> CopiedPassages();
    // The same search as a run: the results stay as they are;
    // Results().FoundCopies() holds the list once the run has finished.
    // False when no run was started.
    bool FindCopiedPassages();
    // The user selected row `index` (0-based) of the table of texts: the
    // text is calculated again from the texts and settings of the run that
    // made its row; until then the tables stay.
    void ShowDisputedText(int32_t index);
    // The user selected page `page`: calculates when the results are out of
    // date (the user stays on `page`), and fills "Stylometry" on its first
    // visit.
    void ShowPage(TPage page);
    // The user chose entry `entry` of the author chooser (-1: none).
    void ChooseAuthor(int32_t entry);

    // The toggles and settings (see TRunOptions). A change of what a run
    // computes makes the shown results out of date.
    void SetBalance(bool balance);
    void SetEachText(bool eachText);
    void SetSplitWordsByLanguage(bool byLanguage);
    void SetLeaveOutCopies(bool leaveOut);
    void SetCopyWords(int32_t words);
    void SetFollowLinks(bool follow) { FOptions.SetFollowLinks(follow); }
    void SetJobs(unsigned jobs) { FOptions.SetJobs(jobs); }
    void SetValidateEveryCandidate(bool every) { FOptions.SetValidateEveryCandidate(every); }

    // ---- Runs. ----

    // From now on runs go to the job pool (see TRunController).
    void RunInBackground(std::function<void()> wake) { FRuns.RunInBackground(std::move(wake)); }
    // Asks the run to stop: it ends as cancelled, and everything shown stays
    // as it was before it started.
    void CancelRun() { FRuns.Cancel(); }
    // For tests: see TRunController::HoldRuns.
    void HoldRuns(std::function<void(std::stop_token)> hold) { FRuns.HoldRuns(std::move(hold)); }
    // Adopts the run's end if it has ended: results, a cancellation or an error.
    void CollectRun() { FRuns.Collect(); }

    // ---- State of what is shown. ----

    // The shown results are those of the project and settings as they are.
    bool Calculated() const { return FCalculated; }
    // The tables show results, but the project or the settings changed
    // since they were calculated.
    bool ResultsStale() const;
    // The validation report was made from the project and settings that
    // the shown results were calculated from.
    bool ValidationMatchesResults() const;
    const std::string& LocaleName() const { return FLocaleName; }
    const std::u16string& ExecutableDir() const { return FExecutableDir; }
    std::u16string HelpDocumentPath() const;  // "Quillprint.pdf" beside the executable

    // ---- The operations behind the actions; errors propagate. ----

    // Makes `projectDir` (ending with a separator) the project folder and
    // reads it into the tree; reports a folder that is no project to the
    // message sink.
    void LoadProject(std::u16string_view projectDir);
    // Why `projectDir` is no project, or nothing; throws TFolderReadError.
    std::optional<std::u16string> ProjectRefusal(std::u16string_view projectDir) const;
    // What a run of `kind` needs from the project and the options.
    TRunRequest PrepareRun(TRunKind kind);
    // One run on this thread (a normal one, or a validation run); false only
    // for an empty tree (no engine remains). Throws TFileReadError or the
    // engine's errors. With Balance on, the engine kept is that of the first
    // draw. The tables are not refilled.
    bool RunCalculationNow(bool validation);

private:
    template <typename Action>
    void ReportErrors(Action action);
    // The project or a setting changed: the shown results are no longer
    // current. Candidates changing also drop the validation report.
    void SettingsChanged();
    void CandidatesChanged();
    // Empty tables and no engine; no cross-validation of the old project.
    void ClearResults();
    // Starts a run of `kind`; `userPage` is set for a run started by a page
    // change. False when the tree is empty (the engine is then dropped).
    bool StartRun(TRunKind kind, std::optional<TPage> userPage);
    void FinishRun(TRunEnd end);
    // The run that calculated text `index` of "Each text" again has ended.
    void FinishShowingText(int32_t index, TRunEnd end);
    void AdoptOutcome(TRunOutcome& outcome);
    // Fills the tables from the adopted engine; brings `page` to the front when given.
    void ShowResults(std::optional<TPage> page);
    void ChooseFirstAuthorOnStylometry();
    void BringToFront(TPage page);

    // What this thread was doing ("loading the project", "filling the
    // tables"), for the message when memory runs out.
    std::string FStep = "loading the project";
    std::u16string FExecutableDir;
    std::string FLocaleName;
    TMessageSink& FMessages;
    TWorkspaceObserver& FObserver;

    TProject FProject;
    TRunOptions FOptions;
    TShownResults FResults;
    TRunController FRuns;

    bool FCalculated = false;
    TPage FShownPage = TPage::InputData;
    // Counts the changes of the project and the settings: the shown results
    // and the validation report each note the count they were made at; a
    // failed calculation notes it so that page changes do not repeat it.
    uint64_t FChanges = 0;
    std::optional<uint64_t> FResultsChanges;
    uint64_t FValidationChanges = 0;
    std::optional<uint64_t> FFailedChanges;
    // A run the user cancelled is started again only by the user.
    bool FLastRunCancelled = false;

    // What the run under way is for: the page that started it, the request
    // of an "Each text" run (its rows are calculated again from it), the
    // text of "Each text" it calculates again.
    std::optional<TPage> FRunUserPage;
    std::optional<TRunRequest> FRunTextsRequest;
    std::optional<int32_t> FShowingText;
    // A text of "Each text" picked while another was calculated, shown next.
    std::optional<int32_t> FWantedText;
};

}  // namespace quillprint
