#include "cli/CrossValidationRun.h"

#include <algorithm>
#include <cmath>

#include "cli/CliOutput.h"
#include "cli/Json.h"
#include "cli/ProgressLine.h"
#include "engine/Text.h"
#include "workspace/CrossValidationTables.h"
#include "workspace/JobPool.h"

namespace quillprint::cli {

namespace {

std::string Json(const TCrossValidation& validation) {
    std::string out = "{\"seed\":" + std::to_string(validation.Seed) +
                      ",\"excerpt\":" + std::to_string(validation.ExcerptWords) + ",\"checks\":[";
    auto name = [&](int32_t c) {
        std::string text;
        if (c < 0) return std::string("null");
        AppendJsonString(text, validation.Names[static_cast<size_t>(c)]);
        return text;
    };
    for (size_t k = 0; k < validation.Checks.size(); ++k) {
        const TCrossCheck& check = validation.Checks[k];
        if (k > 0) out += ',';
        out += "{\"text\":";
        AppendJsonString(out, check.Text);
        out += ",\"truth\":" + name(check.Truth) + ",\"top\":" + name(check.Top) +
               ",\"runnerUp\":" + name(check.RunnerUp) + ",\"margin\":";
        AppendJsonNumber(out, check.Margin);
        out += std::string(",\"right\":") + (check.Right ? "true" : "false");
        out += ",\"words\":" + std::to_string(check.Words) + ",\"delta\":" + name(check.DeltaTop) + '}';
    }
    // Shares of checks that cannot go wrong (a single candidate) are null.
    const auto share = [&](double value) { AppendJsonNumber(out, validation.CanTell() ? value : NAN); };
    out += "],\"accuracy\":";
    share(validation.Accuracy());
    out += ",\"candidates\":[";
    const std::vector<TCandidateFigures> figures = validation.Figures();
    for (size_t c = 0; c < figures.size(); ++c) {
        if (c > 0) out += ',';
        out += "{\"name\":" + name(static_cast<int32_t>(c)) + ",\"recall\":";
        share(figures[c].Recall());
        out += ",\"precision\":";
        share(figures[c].Precision());
        out += ",\"checks\":" + std::to_string(figures[c].Checks) + '}';
    }
    // The second opinion's share last, after the fields every reader expects.
    out += "],\"deltaAccuracy\":";
    share(validation.DeltaAccuracy());
    return out + "}\n";
}

}  // namespace

int64_t DisputedWords(const TRunRequest& project, bool eachText) {
    if (eachText) {
        std::vector<int64_t> lengths;
        for (const TDisputedText& text : ReadDisputedTexts(project))
            if (text.Error.empty()) lengths.push_back(ExcerptWordsFor(text.Test));
        if (lengths.empty()) return 0;
        std::sort(lengths.begin(), lengths.end());
        return lengths[lengths.size() / 2];
    }
    TRunRequest unknownOnly = project;
    // Only the disputed text is wanted here: read "Unknown" alone.
    std::erase_if(unknownOnly.Authors, [](const TAuthorSource& author) { return author.Label != kUnknownLabel; });
    std::u16string test;
    ReadCandidates(unknownOnly, &test);
    return ExcerptWordsFor(test);
}

TCrossValidation CrossValidateProject(const TRunRequest& project, const TCliOptions& options, int64_t disputedWords,
                                      std::ostream& err) {
    std::u16string test;
    const std::vector<TCandidateLines> candidates = ReadCandidates(project, &test);
    TCrossValidationSettings settings;
    settings.LocaleName = project.LocaleName;
    settings.Balance = project.Balance;
    settings.LeaveOutCopies = project.LeaveOutCopies;
    settings.Splitting = project.Splitting;
    settings.ExcerptWords = options.ExcerptWords.value_or(disputedWords);
    settings.Seed = options.Seed;
    settings.Jobs = project.Jobs;
    TProgressLine progress(err, ShouldShowProgress(options.Quiet));
    TCrossValidation validation = RunCrossValidation(
        candidates, settings, [&](int32_t done, int32_t total) { progress.Update("Checks:", done, total); });
    progress.Clear();
    return validation;
}

int PrintCrossValidation(const TRunRequest& project, const TCliOptions& options, std::ostream& out, std::ostream& err) {
    const TCrossValidation validation =
        CrossValidateProject(project, options, options.ExcerptWords ? 0 : DisputedWords(project, true), err);
    if (options.Json) {
        WriteOut(out, Json(validation));
        return 0;
    }
    std::string text;
    for (const TGrid& grid : {CrossValidationFiguresGrid(validation), CandidateFiguresGrid(validation),
                              ConfusionGrid(validation), CrossChecksGrid(validation)}) {
        if (!text.empty()) text += '\n';
        text += TsvText(grid, grid.RowCount());
    }
    WriteOut(out, text);
    return 0;
}

std::string ConfidenceJsonField(const TConfidence& confidence, const std::vector<std::u16string>& names) {
    std::string out = ",\"confidence\":{\"top\":";
    if (confidence.Top < 0)
        out += "null";
    else
        AppendJsonString(out, names[static_cast<size_t>(confidence.Top)]);
    // Without checks to tell by, no chance: null.
    const auto chance = [&](double value) { AppendJsonNumber(out, confidence.Checks > 0 ? value : NAN); };
    out += ",\"chance\":";
    chance(confidence.Chance);
    out += ",\"low\":";
    chance(confidence.Interval.Low);
    out += ",\"high\":";
    chance(confidence.Interval.High);
    out += ",\"checks\":" + std::to_string(confidence.Checks) + ",\"verdict\":";
    if (confidence.CannotTell || confidence.Top < 0)
        AppendJsonString(out, kCannotTell);
    else
        AppendJsonString(out, names[static_cast<size_t>(confidence.Top)]);
    out += ",\"inPlay\":[";
    for (size_t i = 0; i < confidence.InPlay.size(); ++i) {
        if (i > 0) out += ',';
        AppendJsonString(out, names[static_cast<size_t>(confidence.InPlay[i])]);
    }
    return out + "]}";
}

std::string SecondOpinionJsonField(const std::u16string& secondOpinion) {
    if (secondOpinion.empty()) return {};
    std::string out = ",\"secondOpinion\":";
    AppendJsonString(out, secondOpinion);
    return out;
}

std::string WarningsJsonField(const std::vector<std::u16string>& warnings) {
    std::string out = ",\"warnings\":[";
    for (size_t i = 0; i < warnings.size(); ++i) {
        if (i > 0) out += ',';
        AppendJsonString(out, warnings[i]);
    }
    return out + "]";
}

}  // namespace quillprint::cli
