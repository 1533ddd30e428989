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
#include "workspace/EachText.h"
#include "workspace/CopiedPassages.h"
#include "workspace/Grid.h"
#include "workspace/ResultTable.h"
#include "workspace/WorkspaceViews.h"

namespace quillprint {

// "Not enough memory to calculate this project: it ran out while <step>."
std::string OutOfMemoryMessage(std::string_view step);

// One participant of a chat export on its way into the tree.
struct TExtractedAuthor {
    std::u16string Label;
    TLines Lines;
};

// The example projects beside the executable.
enum class TExample { Federalist, Presidents, Tutorial, Authors, Candidates };
// "FederalistShort", "Presidents", "Tutorial", "Authors", "Candidates".
std::u16string ExampleFolderName(TExample example);

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
    // returns normally; the window just forwards to them. ----

    // Start-up: FProjectDir := executable folder + "Examples/FederalistShort/",
    // then LoadProject.
    void Start();
    // "Open folder" after the chooser returned `chosenPath` (not on cancel):
    // trims blanks and control characters, appends a separator, loads.
    void acOpenExecute(std::u16string_view chosenPath);
    void acExampleExecute(TExample example);
    void acNewExecute();
    void acAddAuthorExecute();
    void acAddTextExecute();
    // The user selected `node` in the tree widget (nullptr: none).
    void SelectNode(TTreeNode* node);
    // The user finished editing a label in place.
    void SetLabel(TTreeNode& node, std::u16string label);
    // "Calculate": a normal run, then both tables, the chooser and the page
    // "Result"; FIsCalculated set. The window shows the busy cursor around it.
    void btCalculateClick();
    // "Validation": one validation run per candidate (balanced when Balance
    // is on), then the report in ValidationReport(); no table or page
    // changes. The engine of the last run stays.
    void acValidationExecute();
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
    // How many calculations of "Each text" run at once (at least 1).
    void SetJobs(unsigned jobs) { FJobs = jobs < 1 ? 1 : jobs; }
    // The user selected row `index` (0-based) of the table of texts: the
    // pages "Result", "Analysis" and "Stylometry" show that text's run.
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
    // The user selected page `page`: recalculates when the results are out of
    // date, brings `page` back, and fills "Stylometry" on its first visit.
    void PageControl1Change(TPage page);
    // The user chose entry `entry` of cbAuthors (-1: none).
    void cbAuthorsChange(int32_t entry);
    // Participants of a chat export become new authors, each holding one
    // in-memory text labelled `textLabel`; `unknownText`, when given, becomes
    // a new text of "Unknown". Nothing is written to disk; the results are
    // out of date; the page "Input data" comes to the front showing the first
    // new text. See ExtractedAuthors.cpp.
    void AddExtractedAuthors(std::u16string_view textLabel, const std::vector<TExtractedAuthor>& authors,
                             const std::optional<TLines>& unknownText);

    // ---- The operations behind the actions; errors propagate. ----

    // Makes AProjectFile (ending with a separator) the project folder and
    // reads it into the tree; reports a missing "Unknown" folder to the
    // message sink.
    void LoadProject(std::u16string_view AProjectFile);
    // The tree's selection change: write-back, then shows the selected text.
    void tvAuthorsChange();
    // One calculation run; false only for an empty tree (no engine remains).
    // Throws TFileReadError or the engine's errors. With Balance on, the run
    // is balanced and the engine kept is that of its first draw.
    bool Calculate(bool AValidation);
    // Every text of "Unknown" attributed on its own (see SetEachText);
    // false for an empty tree. Throws when a candidate's text cannot be read;
    // a disputed text that cannot be read only fails its own row.
    bool CalculateEachText();
    // Every candidate's lines with its text boundaries, in tree order; with
    // `test`, the test text of a normal run too. Throws TFileReadError.
    // With `unknown`, also the lines of "Unknown" with their text boundaries.
    std::vector<TCandidateLines> GatherCandidates(std::u16string* test, TCandidateLines* unknown = nullptr);
    // Every text entry of "Unknown", in tree order, read one by one; a text
    // that cannot be read carries its error. With `wanted`, only the texts
    // whose 0-based position it accepts are read and returned.
    std::vector<TDisputedText> GatherDisputedTexts(const std::function<bool(size_t)>& wanted = {});
    // Fill the tables from the current engine (after a successful run).
    void LoadGridResults();
    void LoadGridAnalysis();
    // Fills the stylometry table for engine author `authorIndex` (-1: none).
    void FillStylometry(int32_t authorIndex);

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
    // The engine, or nullptr after a run on an empty tree.
    TQuillprint* AuthorDetector() const { return FAuthorDetector.get(); }
    // The table of the last "Validation"; none before one or after a failed one.
    const std::optional<TGrid>& ValidationReport() const { return FValidationReport; }
    // The texts of the last run with "Each text" (empty otherwise), the
    // table of them, and the row whose run the other tables show (-1: none).
    const std::vector<TTextOutcome>& TextOutcomes() const { return FTextOutcomes; }
    const TGrid& sgTexts() const { return FTextsGrid; }
    int32_t ShownText() const { return FShownText; }
    // The label of the text whose run the tables show; empty when the run
    // was not one of "Each text".
    std::u16string ShownTextLabel() const;
    const std::string& LocaleName() const { return FLocaleName; }
    // What the last calculation was doing when it ended ("reading the
    // texts", "finding the repeated phrases", ...), for the message when
    // memory runs out.
    const std::string& Step() const { return FStep; }

    const TGrid& sgResult() const { return FResult; }
    const TGrid& sgAnalysis() const { return FAnalysis; }
    const TGrid& sgStylometry() const { return FStylometry; }
    // Rows the last stylometry fill wrote (the command-line tool prints these).
    int32_t StylometryRowsWritten() const { return FStylometryRowsWritten; }
    const std::vector<TAuthorChoice>& cbAuthors() const { return FAuthorChoices; }
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
    void AddAuthor();
    void Select(TTreeNode* node);
    void WriteBack();
    void ShowText(TTreeNode& text);
    TLines GatherLinesOfText(TTreeNode& text);
    void DropEngine();
    void Adopt(const TCalculationResult& result);
    void ShowResults(TPage page);

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
    int32_t FCopyWords = kDefaultCopyWords;
    // The last run was balanced: its candidates' mean scores and draws won.
    std::vector<double> FMeanScores;
    std::vector<int32_t> FDrawsWon;
    std::vector<std::vector<double>> FDrawScores;
    bool FBalancedScores = false;
    std::optional<TGrid> FValidationReport;
    bool FEachText = false;
    unsigned FJobs = 1;
    std::vector<TTextOutcome> FTextOutcomes;
    TGrid FTextsGrid;
    int32_t FShownText = -1;

    TGrid FResult;
    TGrid FAnalysis;
    TGrid FStylometry;
    int32_t FStylometryRowsWritten = 0;
    std::vector<TAuthorChoice> FAuthorChoices;
    int32_t FChosenAuthor = -1;
    // The tables were filled from the engine now in FAuthorDetector.
    bool FGridsCurrent = false;
};

}  // namespace quillprint
