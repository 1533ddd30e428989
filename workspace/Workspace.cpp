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
#include "workspace/ConcurrentRuns.h"
#include "workspace/HeldBackLines.h"
#include "workspace/ProjectFolder.h"
#include "workspace/StylometryTable.h"
#include "workspace/TextsTable.h"
#include "workspace/ValidationReport.h"

namespace quillprint {

std::string OutOfMemoryMessage(std::string_view step) {
    return "Not enough memory to calculate this project: it ran out while " + std::string(step) + ".";
}

namespace {

const std::u16string kUnknown = u"Unknown";
const std::u16string kNoUnknownMessage = u"Please add \"Unknown\" folder for analysis";
constexpr const char* kReadingStep = "reading the texts";
constexpr const char* kTablesStep = "filling the tables";
const std::u16string kTwoUnknownMessage = u"Two folders are named \"Unknown\" in different letter case";

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

void TWorkspace::acOpenExecute(std::u16string_view chosenPath) {
    ReportErrors([this, chosenPath] {
        // Leading and trailing blanks and control characters go.
        size_t begin = 0, end = chosenPath.size();
        while (begin < end && chosenPath[begin] <= u' ') ++begin;
        while (end > begin && chosenPath[end - 1] <= u' ') --end;
        FProjectDir = std::u16string(chosenPath.substr(begin, end - begin));
        if (FProjectDir.empty() || FProjectDir.back() != PathSeparator().front()) FProjectDir += PathSeparator();
        LoadProject(FProjectDir);
    });
}

void TWorkspace::acExampleExecute(TExample example) {
    ReportErrors([this, example] {
        FProjectDir = FExecutableDir + u"Examples" + PathSeparator() + ExampleFolderName(example) + PathSeparator();
        LoadProject(FProjectDir);
    });
}

void TWorkspace::acNewExecute() {
    ReportErrors([this] {
        FTextView.SetReadOnly(false);
        FIsCalculated = false;
        {
            TFlagGuard updating(FIsTreeUpdating);
            FTextView.SetVisible(false);
            ClearTree();
            FObserver.ProcessPendingEvents();
            FPrevSelectedNode = nullptr;
        }
        AddAuthor();
        TTreeNode& first = *FTree.Authors().front();
        FTree.SetLabel(first, kUnknown);
        FObserver.LabelChanged(first);

        FTextView.SetLines({});
        // The tables lose the old results; the result header stays.
        FAnalysis = NewAnalysisGrid();
        FAnalysis.SetRowCount(2);
        FResult = NewResultGrid();
        FResult.SetRowCount(2);
        FGridsCurrent = false;
        FObserver.GridsChanged();
        FObserver.PageToFront(TPage::InputData);
        FTextView.SetVisible(true);
    });
}

void TWorkspace::acAddAuthorExecute() { ReportErrors([this] { AddAuthor(); }); }

void TWorkspace::acAddTextExecute() {
    ReportErrors([this] {
        if (!FSelected) return;
        FTexts.push_back(std::make_unique<TInMemoryText>());
        TTreeNode& author = *FSelected->Author();
        const auto number = static_cast<int64_t>(author.Texts().size()) + 1;
        TTreeNode& text = FTree.AddText(author, FromUtf8(std::to_string(number)), FTexts.back().get());
        FObserver.TextAdded(text);
        Select(&text);
    });
}

void TWorkspace::SelectNode(TTreeNode* node) {
    ReportErrors([this, node] {
        FSelected = FTree.Contains(node) ? node : nullptr;
        tvAuthorsChange();
    });
}

void TWorkspace::SetLabel(TTreeNode& node, std::u16string label) {
    if (FTree.Contains(&node)) FTree.SetLabel(node, std::move(label));
}

void TWorkspace::btCalculateClick() {
    ReportErrors([this] {
        if (FEachText) {
            if (!CalculateEachText()) return;
            ShowResults(TPage::Texts);
            return;
        }
        if (!Calculate(false)) return;
        FStep = kTablesStep;
        ShowResults(TPage::Result);
    });
}

void TWorkspace::ShowResults(TPage page) {
    if (!FAuthorDetector) {
        // No text of "Each text" had a result: no old rows may stay.
        FResult = NewResultGrid();
        FAnalysis = NewAnalysisGrid();
    }
    LoadGridResults();
    LoadGridAnalysis();
    FGridsCurrent = true;
    FObserver.GridsChanged();
    FObserver.PageToFront(page);
    FIsCalculated = true;
}

void TWorkspace::acValidationExecute() {
    // One run per candidate, then it ends: repeating while runs succeed
    // would never end on a tree with entries.
    FValidationReport.reset();
    ReportErrors([this] {
        DropEngine();
        if (FTree.Empty()) return;
        std::u16string test;
        FStep = kReadingStep;
        const std::vector<TCandidateLines> candidates = GatherCandidates(&test);
        FStep = "running the validation report";
        TValidationReport report = RunValidationReport(
            candidates, FLocaleName, FBalance, [this](int32_t done, int32_t total) { FObserver.Progress(done, total); });
        FAuthorDetector = std::move(report.LastEngine);
        FValidationReport = ValidationReportGrid(report);
    });
}

void TWorkspace::SetBalance(bool balance) {
    if (balance != FBalance) FIsCalculated = false;
    FBalance = balance;
}

void TWorkspace::SetEachText(bool eachText) {
    if (eachText != FEachText) FIsCalculated = false;
    FEachText = eachText;
}

void TWorkspace::ShowDisputedText(int32_t index) {
    ReportErrors([this, index] {
        if (index < 0 || index >= static_cast<int32_t>(FTextOutcomes.size()) || index == FShownText) return;
        const TTextOutcome& outcome = FTextOutcomes[static_cast<size_t>(index)];
        if (outcome.Failed() || !outcome.Result.Engine) return;
        Adopt(outcome.Result);
        FShownText = index;
        LoadGridResults();
        LoadGridAnalysis();
        FGridsCurrent = true;
        FObserver.GridsChanged();
    });
}

std::u16string TWorkspace::ShownTextLabel() const {
    if (FShownText < 0 || FShownText >= static_cast<int32_t>(FTextOutcomes.size())) return {};
    return FTextOutcomes[static_cast<size_t>(FShownText)].Label;
}

void TWorkspace::SetLeaveOutCopies(bool leaveOut) {
    if (leaveOut != FLeaveOutCopies) FIsCalculated = false;
    FLeaveOutCopies = leaveOut;
}

void TWorkspace::SetCopyWords(int32_t words) {
    if (words != FCopyWords) FIsCalculated = false;
    FCopyWords = std::max(words, 1);
}

std::vector<TCopyRow> TWorkspace::CopiedPassages() {
    if (FTree.Empty()) return {};
    std::u16string test;
    TCandidateLines unknown;
    const std::vector<TCandidateLines> candidates = GatherCandidates(&test, &unknown);
    return FindCopyRows(candidates, unknown, FLocaleName, FCopyWords);
}

void TWorkspace::PageControl1Change(TPage page) {
    ReportErrors([this, page] {
        if (!FIsCalculated) {
            btCalculateClick();
            FObserver.PageToFront(page);
        }
        if (page == TPage::Stylometry && FChosenAuthor == -1 && !FAuthorChoices.empty()) cbAuthorsChange(0);
    });
}

void TWorkspace::cbAuthorsChange(int32_t entry) {
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
    FObserver.PageToFront(TPage::InputData);
    {
        TFlagGuard updating(FIsTreeUpdating);
        ClearTree();
    }

    std::vector<std::u16string> names;
    try {
        ListFolders(names, AProjectFile);
    } catch (const TFolderReadError&) {
        // A project folder that cannot be listed holds no "Unknown" that
        // could be read; the window reports it as such.
        names.clear();
    }
    const auto unknown = FindUnknownFolder(names);
    if (!unknown) {
        FMessages.ShowMessage(kNoUnknownMessage);
        return;
    }
    // Which of them would be read depends on the file system; neither is
    // taken silently.
    if (CountUnknownFolders(names) > 1) {
        FMessages.ShowMessage(kTwoUnknownMessage);
        return;
    }
    // The files are listed under the folder's own name, which may differ in
    // letter case from the label "Unknown".
    std::vector<std::u16string> folders = names;
    folders.erase(folders.begin() + static_cast<std::ptrdiff_t>(*unknown));
    folders.insert(folders.begin(), names[*unknown]);
    names.erase(names.begin() + static_cast<std::ptrdiff_t>(*unknown));
    names.insert(names.begin(), kUnknown);

    try {
        for (size_t i = 0; i < names.size(); ++i) {
            TTreeNode& author = FTree.AddAuthor(names[i]);
            FObserver.AuthorAdded(author);
            std::vector<std::u16string> files;
            ListFiles(files, AProjectFile + folders[i] + PathSeparator());
            for (auto& file : files) FObserver.TextAdded(FTree.AddText(author, std::move(file), nullptr));
        }
    } catch (const std::exception&) {
        // A tree without the folder that could not be listed would calculate
        // as if that author had written nothing.
        TFlagGuard updating(FIsTreeUpdating);
        ClearTree();
        throw;
    }

    const TTreeNode& first = *FTree.Authors().front();
    if (!first.Texts().empty()) Select(first.Texts().front().get());
}

void TWorkspace::ClearTree() {
    FSelected = nullptr;
    FTree.Clear();
    FObserver.TreeCleared();
}

void TWorkspace::AddAuthor() {
    FTextView.SetReadOnly(false);
    FIsCalculated = false;
    const int32_t number = FTree.EntryCount() / 2;
    TTreeNode& author = FTree.AddAuthor(u"Author " + FromUtf8(std::to_string(number)));
    FObserver.AuthorAdded(author);
    FTexts.push_back(std::make_unique<TInMemoryText>());
    TTreeNode& text = FTree.AddText(author, u"1", FTexts.back().get());
    FObserver.TextAdded(text);
    Select(&text);
}

void TWorkspace::Select(TTreeNode* node) {
    FSelected = node;
    FObserver.SelectionSet(node);
    tvAuthorsChange();
}

void TWorkspace::WriteBack() {
    if (FPrevSelectedNode && FPrevSelectedNode->Text()) FPrevSelectedNode->Text()->Lines = FTextView.Lines();
}

void TWorkspace::tvAuthorsChange() {
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
    const std::filesystem::path path = ResolvePath(TextPath(text));
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
    FSummary.clear();
    FBalancedScores = false;
    FMeanScores.clear();
    FDrawsWon.clear();
    FDrawScores.clear();
    FTextOutcomes.clear();
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
}

TLines TWorkspace::GatherLinesOfText(TTreeNode& text) {
    if (!text.Text()) return ReadTextFile(ResolvePath(TextPath(text)), FCodePage);
    if (&text == FSelected) text.Text()->Lines = FTextView.Lines();  // edits not yet written back
    return text.Text()->Lines;
}

std::vector<TCandidateLines> TWorkspace::GatherCandidates(std::u16string* test, TCandidateLines* unknownLines) {
    std::vector<TCandidateLines> candidates;
    for (const auto& author : FTree.Authors()) {
        const bool unknown = author->Label() == kUnknown;
        if (unknown && !test) continue;
        TCandidateLines candidate{author->Label(), {}, {}, {}};
        for (const auto& text : author->Texts()) {
            candidate.TextStarts.push_back(candidate.Lines.size());
            candidate.TextLabels.push_back(text->Label());
            // One text entry at a time, through the same reading rule.
            TLines lines = GatherLinesOfText(*text);
            candidate.Lines.insert(candidate.Lines.end(), std::make_move_iterator(lines.begin()),
                                   std::make_move_iterator(lines.end()));
        }
        if (unknown) {
            *test = JoinLines(candidate.Lines);
            if (unknownLines) *unknownLines = std::move(candidate);
            continue;
        }
        candidates.push_back(std::move(candidate));
    }
    return candidates;
}

std::vector<TDisputedText> TWorkspace::GatherDisputedTexts(const std::function<bool(size_t)>& wanted) {
    std::vector<TDisputedText> texts;
    size_t position = 0;
    for (const auto& author : FTree.Authors()) {
        if (author->Label() != kUnknown) continue;
        for (const auto& text : author->Texts()) {
            if (wanted && !wanted(position)) {
                ++position;
                continue;
            }
            TDisputedText disputed{position++, text->Label(), {}, {}};
            try {
                disputed.Test = JoinLines(GatherLinesOfText(*text));
            } catch (const TFileReadError& error) {
                disputed.Error = FromUtf8(error.what());
            }
            texts.push_back(std::move(disputed));
        }
    }
    return texts;
}

bool TWorkspace::Calculate(bool AValidation) {
    DropEngine();
    if (FTree.Empty()) return false;
    std::u16string test;
    FStep = kReadingStep;
    std::vector<TCandidateLines> candidates = GatherCandidates(&test);
    FStep = FBalance ? "calculating the balanced draws" : "finding the repeated phrases";
    if (AValidation) {
        test.clear();
        // Only a first entry that is a candidate holds lines back.
        if (FTree.Authors().front()->Label() != kUnknown) test = HoldBackLines(candidates.front().Lines);
    }
    try {
        Adopt(RunCalculation(candidates, test, FLocaleName, FBalance, FLeaveOutCopies ? FCopyWords : 0));
    } catch (const TPassageTooLongError& error) {
        // Reworded with the text entries and lines of the passages.
        if (AValidation || !error.Details()) throw;
        TCandidateLines unknown;
        std::u16string unused;
        std::vector<TCandidateLines> authors = GatherCandidates(&unused, &unknown);
        authors.push_back(std::move(unknown));
        throw TPassageTooLongError(DescribeRefusalWithPlaces(*error.Details(), authors), error.Details());
    }
    return true;
}

bool TWorkspace::CalculateEachText() {
    DropEngine();
    if (FTree.Empty()) return false;
    FStep = kReadingStep;
    const std::vector<TCandidateLines> candidates = GatherCandidates(nullptr);
    const std::vector<TDisputedText> texts = GatherDisputedTexts();
    TEachTextOptions options;
    options.LocaleName = FLocaleName;
    options.Balance = FBalance;
    options.LeaveOutCopies = FLeaveOutCopies ? FCopyWords : 0;
    options.Jobs = FJobs;
    options.KeepEngines = true;
    FStep = "calculating each text";
    FTextOutcomes = RunEachText(candidates, texts, options);
    FTextsGrid = TextsGrid(FTextOutcomes, FBalance);
    // The other pages show the first text that has a result.
    for (size_t i = 0; i < FTextOutcomes.size(); ++i) {
        if (FTextOutcomes[i].Failed()) continue;
        Adopt(FTextOutcomes[i].Result);
        FShownText = static_cast<int32_t>(i);
        break;
    }
    return true;
}

void TWorkspace::LoadGridResults() {
    if (FAuthorDetector && FBalancedScores)
        quillprint::LoadGridBalancedResults(*FAuthorDetector, FMeanScores, FDrawsWon, FResult, FAuthorChoices);
    else if (FAuthorDetector)
        quillprint::LoadGridResults(*FAuthorDetector, FResult, FAuthorChoices);
    // The unknown text, last, says how much of it was left out.
    if (FAuthorDetector && FAuthorDetector->LeaveOutCopies() > 0 && FResult.RowCount() > 1) {
        const int32_t row = FResult.RowCount() - 1;
        FResult.SetCell(3, row, FResult.Cell(3, row) + WordsLeftOutNote(FAuthorDetector->WordsLeftOut()));
    }
    FChosenAuthor = -1;
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
    return quillprint::ResultCellColour(FTextsGrid, col, row);
}

TScoreColour TWorkspace::AnalysisCellColour(int32_t col, int32_t row) const {
    if (!FAuthorDetector || !FGridsCurrent) return TScoreColour::Ordinary;
    return quillprint::AnalysisCellColour(FAnalysis, col, row);
}

}  // namespace quillprint
