#include "cli/CliRun.h"

#include <algorithm>
#include <filesystem>
#include <new>
#include <string>
#include <variant>
#include <vector>

#include "cli/CliOutput.h"
#include "cli/CrossValidationRun.h"
#include "cli/EachTextRun.h"
#include "cli/ProgressLine.h"
#include "engine/Collation.h"
#include "engine/Text.h"
#include "workspace/AnalysisTable.h"
#include "workspace/BalancedRun.h"
#include "workspace/CalculationService.h"
#include "workspace/CopiedPassages.h"
#include "workspace/CosineDelta.h"
#include "workspace/Grid.h"
#include "workspace/JobPool.h"
#include "workspace/LanguageHint.h"
#include "workspace/ProjectFolder.h"
#include "workspace/ResultTable.h"
#include "workspace/StylometryTable.h"
#include "workspace/ValidationReport.h"

namespace quillprint::cli {

namespace {

// Past this many code units of record text, --json-full is refused: a
// repeated passage would fill the disk.
constexpr int64_t kFullJsonLimit = 100'000'000;

// Reads and decodes every text of the project; prints how much it read.
void ReadEveryText(const TRunRequest& project, std::ostream& out) {
    size_t texts = 0, lines = 0, units = 0;
    for (const TAuthorSource& author : project.Authors) {
        for (const TTextSource& text : author.Texts) {
            const TLines read = ReadTextFile(ResolvePath(text.Path), project.CodePage);
            ++texts;
            lines += read.size();
            for (const auto& line : read) units += line.size();
        }
    }
    WriteOut(out, std::to_string(texts) + " texts\t" + std::to_string(lines) + " lines\t" + std::to_string(units) +
                      " code units\n");
}

// Names every entry of the project that is not read, so none is left out
// without a word.
void PrintSetAside(const std::vector<TSetAsideEntry>& setAside, std::ostream& err) {
    for (const TSetAsideEntry& entry : setAside) {
        const std::u16string name = entry.Text.empty() ? entry.Author : entry.Author + PathSeparator() + entry.Text;
        err << LeftOutLine(name, SetAsideNote(entry.Kind));
    }
}

// A line on `err` for every text that looks like no text (an image, an
// archive, a program...): it is still read as one, and its "words" would
// otherwise give a confident answer without a sign that anything is amiss.
void WarnOfBinaryTexts(const TRunRequest& project, std::ostream& err) {
    for (const TAuthorSource& author : project.Authors)
        for (const TTextSource& text : author.Texts)
            if (!text.Lines && LooksBinary(ResolvePath(text.Path)))
                err << "Read as text, though it looks like none (an image, archive, document or program, or NUL "
                       "bytes): \""
                    << VisibleUtf8(author.Label + PathSeparator() + text.Label) << "\"\n";
}

}  // namespace

std::string LeftOutLine(std::u16string_view name, std::u16string_view note) {
    std::string line = "Left out \"" + VisibleUtf8(name) + "\": " + ToUtf8(note);
    if (note == SetAsideNote(TSetAsideKind::OutsideLink)) line += " (--follow-links follows it)";
    return line + '\n';
}

std::string ProjectPathProblem(const std::string& path, int& status) {
    namespace fs = std::filesystem;
    const fs::path folder(path);
    std::error_code error;
    const fs::file_status state = fs::status(folder, error);
    status = 2;
    if (!fs::exists(state)) return "No such folder: " + VisibleUtf8(FromFsPath(folder));
    if (!fs::is_directory(state)) return "Not a folder: " + VisibleUtf8(FromFsPath(folder));
    fs::directory_iterator listing(folder, error);
    if (error) {
        status = 1;
        return TFolderReadError(folder, error.message()).what();
    }
    return {};
}

int CheckLocaleAndProject(const TCliOptions& options, std::ostream& err) {
    if (!options.LocaleName.empty() && !IsKnownLocale(options.LocaleName)) {
        err << "quillprint-cli: unknown locale \"" << VisibleUtf8(FromUtf8(options.LocaleName))
            << "\" (ICU has neither it nor its language)\n";
        return 2;
    }
    int pathStatus = 0;
    if (const std::string problem = ProjectPathProblem(options.ProjectDir, pathStatus); !problem.empty()) {
        err << VisibleMessage(problem) << '\n';
        return pathStatus;
    }
    return 0;
}

int RunCli(const TCliOptions& options, std::ostream& out, std::ostream& err) {
    if (const int status = CheckLocaleAndProject(options, err); status != 0) return status;
    const std::string localeName = options.LocaleName.empty() ? DefaultLocaleName() : options.LocaleName;
    std::string step = "loading the project";
    try {
        TProgressLine progress(err, ShouldShowProgress(options.Quiet));
        // The file system's own bytes, so a name that is not UTF-8 still opens.
        std::u16string projectDir = FromFsPath(std::filesystem::path(options.ProjectDir));
        if (projectDir.empty() || projectDir.back() != PathSeparator().front()) projectDir += PathSeparator();
        std::u16string refusal;
        std::vector<TSetAsideEntry> setAside;
        std::optional<std::vector<TAuthorSource>> authors =
            ProjectAuthors(projectDir, &refusal, options.FollowLinks, &setAside);
        PrintSetAside(setAside, err);
        if (!authors) {
            err << VisibleMessage(ToUtf8(refusal)) << '\n';
            return 2;
        }
        TRunRequest request;
        request.Authors = std::move(*authors);
        request.LocaleName = localeName;
        request.CodePage = LegacyCodePageFor(localeName);
        request.Balance = options.Balance;
        request.Splitting = options.SplitByLanguage ? TWordSplitting::Language : TWordSplitting::Spaces;
        request.Jobs = BoundedJobs(options.Jobs);
        step = "reading the texts";
        WarnOfBinaryTexts(request, err);
        if (options.ReadOnly) {
            ReadEveryText(request, out);
            return 0;
        }

        request.LeaveOutCopies = options.WithoutCopies ? std::max(options.CopyWords, 1) : 0;
        request.LeaveOutSwitchName = kWithoutCopiesOption;
        if (options.CrossValidate) {
            step = "running the checks";
            return PrintCrossValidation(request, options, out, err);
        }
        // --confidence: the checks first, to judge the answer by.
        std::optional<TConfidenceFit> fit;
        std::vector<int64_t> sampleWords;
        if (options.Confidence) {
            step = "running the checks";
            const int64_t excerpt = options.ExcerptWords ? 0 : DisputedWords(request, options.EachText);
            const TCrossValidation checks = CrossValidateProject(request, options, excerpt, err);
            fit = checks.Fit();
            sampleWords = checks.SampleWords;
            step = "reading the texts";
        }
        if (options.EachText)
            return PrintEachText(request, options, out, err, step, fit ? &*fit : nullptr, sampleWords);
        if (options.Copies) {
            request.Kind = TRunKind::CopiedPassages;
            request.CopyWords = std::max(options.CopyWords, 1);
            const TRunOutcome outcome = ExecuteRun(request);
            if (!options.SplitByLanguage && outcome.SplittingHint) PrintSplittingHint(err);
            const TGrid copies = CopiesGrid(std::get<TCopiedPassagesResult>(outcome.Result).Rows);
            WriteOut(out, TsvText(copies, copies.RowCount()));
            return 0;
        }
        if (options.ValidationReport) {
            request.Kind = TRunKind::ValidationReport;
            if (options.AllCandidates) request.ValidationReportSample = 0;
            const TRunOutcome outcome = ExecuteRun(request, [&](const TRunProgress& state) {
                if (state.Candidates > 0) progress.Update("Validation runs:", state.Candidate - 1, state.Candidates);
            });
            const auto& validation = std::get<TValidationReport>(outcome.Result);
            progress.Update("Validation runs:", static_cast<int64_t>(validation.Rows.size()),
                            static_cast<int64_t>(validation.Rows.size()));
            progress.Clear();
            if (outcome.SplittingHint) PrintSplittingHint(err);
            const TGrid report = ValidationReportGrid(validation);
            WriteOut(out, TsvText(report, report.RowCount()));
            if (validation.Step > 1) err << "quillprint-cli: --all-candidates tests every candidate\n";
            return 0;
        }
        request.Kind = options.Validation ? TRunKind::ValidationRun : TRunKind::Calculation;
        const TRunOutcome outcome = ExecuteRun(request);
        if (outcome.SplittingHint) PrintSplittingHint(err);
        const auto& result = std::get<TCalculationResult>(outcome.Result);
        TQuillprint& engine = *result.Engine;
        step = "writing the output";
        if (options.JsonFull && FullJsonRecordUnits(engine) > kFullJsonLimit) {
            err << "--json-full refused: its phrase records would hold " << FullJsonRecordUnits(engine) / 1'000'000
                << " million characters, more than " << kFullJsonLimit / 1'000'000
                << " million; --json writes the same records as references into the texts\n";
            return 2;
        }
        // With --confidence: the verdict and the length warnings, after the
        // table (or as fields of the JSON object), the table itself unchanged.
        std::optional<TConfidence> confidence;
        std::vector<std::u16string> names, warnings;
        std::u16string secondOpinion;
        if (fit) {
            std::vector<TWordSpan> words;
            for (const auto& author : engine.Authors())
                if (author.get() != engine.Test()) {
                    names.push_back(author->Name());
                    words.push_back(author->Text());
                }
            if (engine.Test())
                secondOpinion = SecondOpinionText(CosineDelta(words, engine.Test()->Text()), names,
                                                  RankedFirst(result.CandidateScores()));
            confidence = JudgeScores(result.CandidateScores(), *fit, options.ThresholdPercent / 100.0);
            warnings = LengthWarnings(engine.Test() ? engine.Test()->WordCount() : 0, names, sampleWords);
            for (const std::u16string& warning : warnings) err << VisibleMessage(ToUtf8(warning)) << '\n';
        }
        if (options.Json) {
            WriteJson(out, engine, result.Summary, options.JsonFull ? TJsonForm::Full : TJsonForm::References,
                      confidence ? ConfidenceJsonField(*confidence, names) + WarningsJsonField(warnings) +
                                       SecondOpinionJsonField(secondOpinion)
                                 : std::string());
            return 0;
        }
        if (options.Summary) {
            std::vector<std::u16string> names;
            for (const auto& author : engine.Authors())
                if (author.get() != engine.Test()) names.push_back(author->Name());
            WriteOut(out, SummaryText(result.Summary, names));
            return 0;
        }
        switch (options.Table) {
            case TTable::Result: {
                TGrid grid = NewResultGrid();
                std::vector<TAuthorChoice> choices;
                FillResultTable(result, grid, choices);
                std::string text = TsvText(grid, grid.RowCount());
                if (confidence) {
                    text += "\nChance\t" + VisibleUtf8(ChanceText(*confidence, names)) + "\nVerdict\t" +
                            VisibleUtf8(VerdictText(*confidence, names)) + '\n';
                    if (!secondOpinion.empty()) text += "Second opinion\t" + VisibleUtf8(secondOpinion) + '\n';
                }
                WriteOut(out, text);
                break;
            }
            case TTable::Analysis: {
                TGrid grid = NewAnalysisGrid();
                FillAnalysisTable(engine, grid);
                WriteOut(out, TsvText(grid, grid.RowCount()));
                break;
            }
            case TTable::Stylometry: {
                const auto authorCount = static_cast<int32_t>(engine.Authors().size());
                if (options.Author >= authorCount) {
                    err << "quillprint-cli: --author " << options.Author << " is out of range: the engine has "
                        << authorCount << " authors (0 to " << authorCount - 1 << ")\n";
                    return 2;
                }
                TGrid grid = NewStylometryGrid();
                const int32_t rows =
                    FillStylometry(*engine.Authors()[static_cast<size_t>(options.Author)], options.Author, grid);
                WriteOut(out, TsvText(grid, rows + 1));
                break;
            }
        }
        return 0;
    } catch (const std::bad_alloc&) {
        err << OutOfMemoryMessage(step) << '\n';
        return 1;
    } catch (const std::exception& error) {
        err << VisibleMessage(error.what()) << '\n';
        return 1;
    }
}

}  // namespace quillprint::cli
