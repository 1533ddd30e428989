// What the window shows of the runs: the engine of the shown calculation,
// the tables made from it, the rows of "Each text", and the checks beside
// them (validation report, cross-validation, copied passages). Every table
// is derived from the typed results; nothing here starts a run.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/Quillprint.h"
#include "workspace/Calculation.h"
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

class TShownResults {
public:
    // The observer hears GridsChanged whenever a table or the author chooser changes.
    explicit TShownResults(TWorkspaceObserver& observer);
    TShownResults(const TShownResults&) = delete;
    TShownResults& operator=(const TShownResults&) = delete;

    // ---- The shown calculation. ----

    // Its engine; nullptr before a calculation and after a failed or empty one.
    TQuillprint* Engine() const { return FShown.Engine.get(); }
    // The text Detect returned (CR after each line).
    const std::u16string& Summary() const { return FShown.Summary; }
    // Each draw's candidate scores (engine order) of a balanced run; empty otherwise.
    const std::vector<std::vector<double>>& DrawScores() const { return FShown.DrawScores; }
    // Each candidate's own words (engine order) of a balanced run; empty
    // otherwise: the engine's authors hold them then.
    const std::vector<int64_t>& CandidateWords() const { return FShown.CandidateWords; }
    // The calculation split words at separators only in a project written
    // mostly in scripts without spaces.
    bool SplittingHint() const { return FSplittingHint; }
    // The last calculation failed: the tables show older results, or none.
    bool OutOfDate() const { return FOutOfDate; }

    // ---- Its tables. ----
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
    // Beside the results table: the chance that the first candidate is right
    // and the verdict (after a cross-validation), the second opinion of
    // frequent words, then one line per text too short to judge by. Empty
    // while the tables show no current result.
    std::vector<std::u16string> TrustLines() const;
    // Colours of the drawing rules; ordinary while the tables do not belong
    // to the current engine.
    TScoreColour ResultCellColour(int32_t col, int32_t row) const;
    TScoreColour AnalysisCellColour(int32_t col, int32_t row) const;
    TScoreColour TextsCellColour(int32_t col, int32_t row) const;

    // ---- "Each text": the rows, and the one whose run the tables show. ----
    const std::vector<TTextOutcome>& TextOutcomes() const { return FTextOutcomes; }
    const TGrid& TextsTable() const { return FTextsGrid; }
    int32_t ShownText() const { return FShownText; }  // -1: none
    // The label of the shown text; empty when the run was not one of "Each text".
    std::u16string ShownTextLabel() const;
    // What made the rows: a selected text is calculated again from it.
    const std::optional<TRunRequest>& TextsRequest() const { return FTextsRequest; }

    // ---- The checks. ----
    // The last "Validation"; none before one, after a failed one, and once
    // the candidates change.
    const std::optional<TValidationReport>& ValidationReport() const { return FValidationReport; }
    std::optional<TGrid> ValidationTable() const;
    // The last cross-validation of this project.
    const std::optional<TCrossValidation>& CrossValidation() const { return FCrossValidation; }
    // The copied passages of the last search, once it has finished.
    const std::optional<std::vector<TCopyRow>>& FoundCopies() const { return FFoundCopies; }

    // ---- Changes, made by the workspace. ----

    // Empty tables and no engine.
    void Clear();
    // No engine, no rows of "Each text"; the tables stay but are no longer current.
    void DropEngine();
    // A run failed: no engine, and the tables say they are out of date.
    void Fail();
    // A calculation's engine and numbers, not yet in the tables.
    void Adopt(const TCalculationResult& result);
    void SetSplittingHint(bool hint) { FSplittingHint = hint; }
    // The rows of an "Each text" run made from `request`; the first text with
    // a result is adopted, and no row keeps an engine.
    void AdoptTexts(std::vector<TTextOutcome> texts, TRunRequest request);
    // Text `index` of "Each text", calculated again, becomes the shown one
    // and fills the tables.
    void ShowText(int32_t index, const TCalculationResult& result);
    // Fills the tables from the adopted engine (empties them without one).
    // The owner tells the observer once it has noted what they show.
    void Fill();
    // Fills "Stylometry" with entry `entry` of the author chooser.
    void ChooseAuthor(int32_t entry);
    void SetValidationReport(std::optional<TValidationReport> report);
    void SetCrossValidation(std::optional<TCrossValidation> crossValidation);
    void SetFoundCopies(std::optional<std::vector<TCopyRow>> rows) { FFoundCopies = std::move(rows); }
    // The tables of a new project: the headers with one empty row each.
    void ShowEmptyTables();

private:
    void FillStylometry(int32_t authorIndex);

    TWorkspaceObserver& FObserver;
    // The calculation shown: its engine, summary and, when balanced, the
    // draws' scores.
    TCalculationResult FShown;
    bool FSplittingHint = false;
    bool FOutOfDate = false;

    TResultRanking FRanking;
    TGrid FResult;
    TGrid FAnalysis;
    TGrid FStylometry;
    int32_t FStylometryRowsWritten = 0;
    std::vector<TAuthorChoice> FAuthorChoices;
    int32_t FChosenAuthor = -1;
    // The tables were filled from the engine now in FShown.
    bool FCurrent = false;

    std::vector<TTextOutcome> FTextOutcomes;
    TGrid FTextsGrid;
    int32_t FShownText = -1;
    std::optional<TRunRequest> FTextsRequest;

    std::optional<TValidationReport> FValidationReport;
    std::optional<TCrossValidation> FCrossValidation;
    std::optional<std::vector<TCopyRow>> FFoundCopies;
};

}  // namespace quillprint
