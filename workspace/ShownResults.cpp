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
    return ResultChartBars(FRanking, FShown.Engine && FCurrent, FShown.DrawScores);
}

std::vector<std::u16string> TShownResults::TrustLines() const {
    std::vector<std::u16string> lines;
    if (!FShown.Engine || !FCurrent || !FShown.Engine->Test()) return lines;
    std::vector<std::u16string> names;
    std::vector<int64_t> sampleWords;
    for (const auto& author : FShown.Engine->Authors())
        if (author.get() != FShown.Engine->Test()) {
            names.push_back(author->Name());
            sampleWords.push_back(author->WordCount());
        }
    if (FCrossValidation && FCrossValidation->Names == names) {
        const TConfidence confidence = JudgeScores(FShown.CandidateScores(), FCrossValidation->Fit());
        lines.push_back(ChanceText(confidence, names));
        lines.push_back(u"Verdict: " + VerdictText(confidence, names));
    }
    // The second opinion of frequent words, beside the phrases' ranking.
    std::vector<TWordSpan> words;
    for (const auto& author : FShown.Engine->Authors())
        if (author.get() != FShown.Engine->Test()) words.push_back(author->Text());
    if (!names.empty())
        lines.push_back(SecondOpinionText(CosineDelta(words, FShown.Engine->Test()->Text()), names,
                                          RankedFirst(FShown.CandidateScores())));
    // The candidates' whole samples, as cross-validation counted them, when known.
    if (FCrossValidation && FCrossValidation->Names == names) sampleWords = FCrossValidation->SampleWords;
    for (std::u16string& warning : LengthWarnings(FShown.Engine->Test()->WordCount(), names, sampleWords))
        lines.push_back(std::move(warning));
    return lines;
}

TScoreColour TShownResults::ResultCellColour(int32_t col, int32_t row) const {
    if (!FShown.Engine || !FCurrent) return TScoreColour::Ordinary;
    return quillprint::ResultCellColour(FResult, col, row);
}

TScoreColour TShownResults::AnalysisCellColour(int32_t col, int32_t row) const {
    if (!FShown.Engine || !FCurrent) return TScoreColour::Ordinary;
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
    FShown = {};
    FSplittingHint = false;
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

void TShownResults::Adopt(const TCalculationResult& result) { FShown = result; }

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
    if (!FShown.Engine) {
        // No text of "Each text" had a result: no old rows may stay.
        FResult = NewResultGrid();
        FRanking = {};
        FAnalysis = NewAnalysisGrid();
    } else {
        FRanking = RankResult(FShown);
        FillResultGrid(FRanking, FResult);
        FAuthorChoices = quillprint::AuthorChoices(*FShown.Engine);
        quillprint::FillAnalysisTable(*FShown.Engine, FAnalysis);
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
    if (!FShown.Engine || authorIndex < 0) return;
    TAuthor& author = *FShown.Engine->Authors().at(static_cast<size_t>(authorIndex));
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
