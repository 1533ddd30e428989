#include "cli/EachTextRun.h"

#include <map>
#include <optional>

#include "cli/CliOutput.h"
#include "cli/CrossValidationRun.h"
#include "cli/Json.h"
#include "cli/ProgressLine.h"
#include "workspace/CalculationService.h"
#include "workspace/EachText.h"
#include "workspace/TextsTable.h"

namespace quillprint::cli {

namespace {

// The first-ranked candidate's chance and the verdict for one text.
TConfidence Judge(const TTextOutcome& outcome, const TConfidenceFit& fit, const TCliOptions& options) {
    std::vector<double> scores;
    for (const TCandidateOutcome& candidate : outcome.Candidates) scores.push_back(candidate.Score);
    return JudgeScores(scores, fit, options.ThresholdPercent / 100.0);
}

std::vector<std::u16string> Names(const TTextOutcome& outcome) {
    std::vector<std::u16string> names;
    for (const TCandidateOutcome& candidate : outcome.Candidates) names.push_back(candidate.Name);
    return names;
}

std::string JsonLine(size_t number, const TTextOutcome& outcome, const std::string& moreFields) {
    std::string out = "{\"no\":" + std::to_string(number) + ",\"text\":";
    AppendJsonString(out, outcome.Label);
    if (outcome.Failed()) {
        out += ",\"error\":";
        AppendJsonString(out, outcome.Error);
        return out + "}\n";
    }
    out += ",\"words\":" + std::to_string(outcome.Words) + ",\"candidates\":[";
    for (size_t c = 0; c < outcome.Candidates.size(); ++c) {
        const TCandidateOutcome& candidate = outcome.Candidates[c];
        if (c > 0) out += ',';
        out += "{\"name\":";
        AppendJsonString(out, candidate.Name);
        out += ",\"score\":";
        AppendJsonNumber(out, candidate.Score);
        out += ",\"words\":" + std::to_string(candidate.Words);
        out += ",\"uniqueNum\":" + std::to_string(candidate.UniqueNum);
        if (candidate.DrawsWon >= 0) out += ",\"drawsWon\":" + std::to_string(candidate.DrawsWon);
        out += '}';
    }
    out += "],\"summary\":";
    AppendJsonString(out, outcome.Result.Summary);
    return out + moreFields + "}\n";
}

// The table of texts, with the columns "Chance" and "Verdict" when judged.
TGrid TextsGrid(bool balanced, bool judged) {
    TGrid grid = NewTextsGrid(balanced);
    if (judged) {
        grid.SetColCount(grid.ColCount() + 2);
        grid.SetCell(grid.ColCount() - 2, 0, u"Chance");
        grid.SetCell(grid.ColCount() - 1, 0, u"Verdict");
    }
    return grid;
}

std::string TsvLine(size_t number, const TTextOutcome& outcome, bool balanced, const TConfidence* confidence) {
    TGrid grid = TextsGrid(balanced, confidence != nullptr);
    SetTextsRow(grid, 1, number, outcome);
    if (confidence && !outcome.Failed()) {
        grid.SetCell(grid.ColCount() - 2, 1, ChanceText(*confidence, Names(outcome)));
        grid.SetCell(grid.ColCount() - 1, 1, VerdictText(*confidence, Names(outcome)));
    }
    return TsvRow(grid, 1);
}

}  // namespace

int PrintEachText(const TRunRequest& project, const TCliOptions& options, std::ostream& out, std::ostream& err,
                  std::string& step, const TConfidenceFit* fit, const std::vector<int64_t>& sampleWords) {
    TRunRequest request = project;
    request.Kind = TRunKind::EachText;
    request.ShardIndex = options.ShardIndex - 1;
    request.ShardCount = options.ShardCount;
    request.KeepFirstEngine = false;

    // Lines wait here until every text before them is printed.
    std::map<size_t, std::string> waiting;
    size_t nextToPrint = 0;
    bool anyFailed = false;
    TProgressLine progress(err, ShouldShowProgress(options.Quiet));
    TEachTextEvents events;
    // The header goes out once the texts are read, so an unreadable
    // candidate leaves the output empty.
    events.Started = [&](size_t texts, bool splittingHint) {
        if (!options.Json && !options.NoHeader)
            out << TsvRow(TextsGrid(options.Balance, fit != nullptr), 0) << std::flush;
        if (splittingHint) PrintSplittingHint(err);
        progress.Update("Texts calculated:", 0, static_cast<int64_t>(texts));
        step = "calculating each text";
    };
    events.Finished = [&](size_t index, const TTextOutcome& outcome) {
        const size_t number = outcome.Position + 1;
        std::optional<TConfidence> confidence;
        std::string judged;
        if (fit && !outcome.Failed()) {
            confidence = Judge(outcome, *fit, options);
            const auto warnings = LengthWarnings(outcome.Words, Names(outcome), sampleWords);
            for (const std::u16string& warning : warnings)
                err << VisibleUtf8(outcome.Label) << ": " << VisibleUtf8(warning) << '\n';
            judged = ConfidenceJsonField(*confidence, Names(outcome)) + WarningsJsonField(warnings);
        }
        if (options.Json)
            waiting[index] = JsonLine(number, outcome, judged);
        else
            waiting[index] = TsvLine(number, outcome, options.Balance, confidence ? &*confidence : nullptr);
        anyFailed = anyFailed || outcome.Failed();
        for (auto next = waiting.find(nextToPrint); next != waiting.end(); next = waiting.find(++nextToPrint)) {
            out << next->second;
            waiting.erase(next);
        }
        out.flush();
    };
    ExecuteRun(
        request,
        [&](const TRunProgress& state) {
            if (state.Phase == TRunPhase::Texts && state.Done > 0)
                progress.Update("Texts calculated:", state.Done, state.Total);
        },
        {}, events);
    return anyFailed ? 1 : 0;
}

}  // namespace quillprint::cli
