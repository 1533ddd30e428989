#include "workspace/ShownResults.h"

#include "workspace/AnalysisTable.h"
#include "workspace/BalancedRun.h"
#include "workspace/Confidence.h"
#include "workspace/CosineDelta.h"
#include "workspace/LengthWarnings.h"
#include "workspace/StylometryTable.h"
#include "workspace/TextsTable.h"

namespace quillprint {

TShownResults::TShownResults(TWorkspaceObserver& observer)
    : FObserver(observer),
      FResult(NewResultGrid()),
      FAnalysis(NewAnalysisGrid()),
      FStylometry(NewStylometryGrid()),
      FTextsGrid(NewTextsGrid(false)) {}

std::vector<TScoreBar> TShownResults::ResultBars() const {
    return ResultChartBars(FRanking, FEngine && FCurrent, FDrawScores);
}

std::vector<std::u16string> TShownResults::TrustLines() const {
    std::vector<std::u16string> lines;
    if (!FEngine || !FCurrent || !FEngine->Test()) return lines;
    std::vector<std::u16string> names;
    std::vector<int64_t> sampleWords;
    for (const auto& author : FEngine->Authors())
        if (author.get() != FEngine->Test()) {
            names.push_back(author->Name());
            sampleWords.push_back(author->WordCount());
        }
    TCalculationResult shown;
    shown.Engine = FEngine;
    shown.Balanced = FBalanced;
    shown.MeanScores = FMeanScores;
    if (FCrossValidation && FCrossValidation->Names == names) {
        const TConfidence confidence = JudgeScores(shown.CandidateScores(), FCrossValidation->Fit());
        lines.push_back(ChanceText(confidence, names));
        lines.push_back(u"Verdict: " + VerdictText(confidence, names));
    }
    // The second opinion of frequent words, beside the phrases' ranking.
    std::vector<const TWordList*> words;
    for (const auto& author : FEngine->Authors())
        if (author.get() != FEngine->Test()) words.push_back(&author->Text());
    if (!names.empty())
        lines.push_back(SecondOpinionText(CosineDelta(words, FEngine->Test()->Text()), names,
                                          RankedFirst(shown.CandidateScores())));
    // The candidates' whole samples, as cross-validation counted them, when known.
    if (FCrossValidation && FCrossValidation->Names == names) sampleWords = FCrossValidation->SampleWords;
    for (std::u16string& warning : LengthWarnings(FEngine->Test()->WordCount(), names, sampleWords))
        lines.push_back(std::move(warning));
    return lines;
}

TScoreColour TShownResults::ResultCellColour(int32_t col, int32_t row) const {
    if (!FEngine || !FCurrent) return TScoreColour::Ordinary;
    return quillprint::ResultCellColour(FResult, col, row);
}

TScoreColour TShownResults::AnalysisCellColour(int32_t col, int32_t row) const {
    if (!FEngine || !FCurrent) return TScoreColour::Ordinary;
    return quillprint::AnalysisCellColour(FAnalysis, col, row);
}

TScoreColour TShownResults::TextsCellColour(int32_t col, int32_t row) const {
    if (FTextOutcomes.empty()) return TScoreColour::Ordinary;
    return quillprint::TextsCellColour(FTextsGrid, FTextOutcomes, col, row);
}

std::u16string TShownResults::ShownTextLabel() const {
    if (FShownText < 0 || FShownText >= static_cast<int32_t>(FTextOutcomes.size())) return {};
    return FTextOutcomes[static_cast<size_t>(FShownText)].Label;
}

std::optional<TGrid> TShownResults::ValidationTable() const {
    if (!FValidationReport) return std::nullopt;
    return ValidationReportGrid(*FValidationReport);
}

void TShownResults::Clear() {
    FAnalysis = NewAnalysisGrid();
    FResult = NewResultGrid();
    FRanking = {};
    FStylometry = NewStylometryGrid();
    FOutOfDate = false;
    DropEngine();
}

void TShownResults::DropEngine() {
    FEngine.reset();
    FSplittingHint = false;
    FSummary.clear();
    FBalanced = false;
    FMeanScores.clear();
    FDrawsWon.clear();
    FDrawScores.clear();
    FCandidateWords.clear();
    FTextOutcomes.clear();
    FTextsRequest.reset();
    FTextsGrid = NewTextsGrid(false);
    FShownText = -1;
    // Nothing shown may refer to the destroyed engine any more.
    FCurrent = false;
    FAuthorChoices.clear();
    FChosenAuthor = -1;
    FObserver.GridsChanged();
}

void TShownResults::Fail() {
    DropEngine();
    FOutOfDate = true;
}

void TShownResults::Adopt(const TCalculationResult& result) {
    FEngine = result.Engine;
    FSummary = result.Summary;
    FBalanced = result.Balanced;
    FMeanScores = result.MeanScores;
    FDrawsWon = result.DrawsWon;
    FDrawScores = result.DrawScores;
    FCandidateWords = result.CandidateWords;
}

void TShownResults::AdoptTexts(std::vector<TTextOutcome> texts, TRunRequest request) {
    FTextOutcomes = std::move(texts);
    FTextsGrid = TextsGrid(FTextOutcomes, request.Balance);
    FTextsRequest = std::move(request);
    // The other pages show the first text that has a result, the only one
    // whose engine the run kept; the rows keep none.
    for (size_t i = 0; i < FTextOutcomes.size(); ++i) {
        if (FTextOutcomes[i].Failed()) continue;
        Adopt(FTextOutcomes[i].Result);
        FTextOutcomes[i].Result.Engine.reset();
        FShownText = static_cast<int32_t>(i);
        break;
    }
}

void TShownResults::ShowText(int32_t index, const TCalculationResult& result) {
    Adopt(result);
    FShownText = index;
    Fill();
    FObserver.GridsChanged();
}

void TShownResults::Fill() {
    if (!FEngine) {
        // No text of "Each text" had a result: no old rows may stay.
        FResult = NewResultGrid();
        FRanking = {};
        FAnalysis = NewAnalysisGrid();
    } else {
        TCalculationResult shown;
        shown.Engine = FEngine;
        shown.Balanced = FBalanced;
        shown.MeanScores = FMeanScores;
        shown.DrawsWon = FDrawsWon;
        FRanking = RankResult(shown);
        FillResultGrid(FRanking, FResult);
        FAuthorChoices = quillprint::AuthorChoices(*FEngine);
        quillprint::LoadGridAnalysis(*FEngine, FAnalysis);
    }
    FChosenAuthor = -1;
    FCurrent = true;
    FOutOfDate = false;
}

void TShownResults::ChooseAuthor(int32_t entry) {
    if (entry < 0 || entry >= static_cast<int32_t>(FAuthorChoices.size())) return;
    FChosenAuthor = entry;
    FillStylometry(FAuthorChoices[static_cast<size_t>(entry)].EngineIndex);
}

void TShownResults::FillStylometry(int32_t authorIndex) {
    if (!FEngine || authorIndex < 0) return;
    TAuthor& author = *FEngine->Authors().at(static_cast<size_t>(authorIndex));
    FStylometryRowsWritten = quillprint::FillStylometry(author, authorIndex, FStylometry);
    FObserver.GridsChanged();
}

void TShownResults::SetValidationReport(std::optional<TValidationReport> report) {
    FValidationReport = std::move(report);
    // The report's own engine is not shown: it would only hold memory.
    if (FValidationReport) FValidationReport->LastEngine.reset();
}

void TShownResults::SetCrossValidation(std::optional<TCrossValidation> crossValidation) {
    FCrossValidation = std::move(crossValidation);
}

void TShownResults::ShowEmptyTables() {
    // The headers stay.
    FAnalysis.SetRowCount(2);
    FResult.SetRowCount(2);
}

}  // namespace quillprint
