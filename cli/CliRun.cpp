#include "cli/CliRun.h"

#include <filesystem>
#include <new>
#include <string>
#include <vector>

#include "cli/CliOutput.h"
#include "cli/EachTextRun.h"
#include "cli/ProgressLine.h"
#include "engine/Collation.h"
#include "engine/Text.h"
#include "workspace/Grid.h"
#include "workspace/ProjectFolder.h"
#include "workspace/Workspace.h"

namespace quillprint::cli {

namespace {

// Stand-ins for the window: the text view only holds lines, messages are
// kept for the caller to print.
class TMemoryTextView : public TTextView {
public:
    TLines Lines() const override { return FLines; }
    void SetLines(const TLines& lines) override { FLines = lines; }
    void SetReadOnly(bool) override {}
    void SetVisible(bool) override {}

private:
    TLines FLines;
};

// Steps of a long command go to the progress line.
class TProgressObserver : public TWorkspaceObserver {
public:
    explicit TProgressObserver(TProgressLine& line) : FLine(line) {}
    void Progress(int32_t done, int32_t total) override { FLine.Update("Validation runs:", done, total); }

private:
    TProgressLine& FLine;
};

class TRecordedMessages : public TMessageSink {
public:
    void ShowMessage(const std::u16string& text) override { Message = text; }
    void ShowError(const std::u16string& text) override { Error = text; }
    std::u16string Message;
    std::u16string Error;
};

// Reads and decodes every text of the tree; prints how much it read.
void ReadEveryText(const TWorkspace& workspace, const std::string& localeName, std::ostream& out) {
    const std::string codePage = LegacyCodePageFor(localeName);
    size_t texts = 0, lines = 0, units = 0;
    for (const auto& author : workspace.Tree().Authors()) {
        for (const auto& text : author->Texts()) {
            const TLines read = ReadTextFile(ResolvePath(workspace.TextPath(*text)), codePage);
            ++texts;
            lines += read.size();
            for (const auto& line : read) units += line.size();
        }
    }
    WriteOut(out, std::to_string(texts) + " texts\t" + std::to_string(lines) + " lines\t" + std::to_string(units) +
                      " code units\n");
}

// What is wrong with the project path, or nothing when it is a folder that
// can be listed. Sets `status` to the exit status for the problem.
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

}  // namespace

int RunCli(const TCliOptions& options, std::ostream& out, std::ostream& err) {
    if (!options.LocaleName.empty() && !IsKnownLocale(options.LocaleName)) {
        err << "quillprint-cli: unknown locale \"" << VisibleUtf8(FromUtf8(options.LocaleName))
            << "\" (ICU has neither it nor its language)\n";
        return 2;
    }
    int pathStatus = 0;
    if (const std::string problem = ProjectPathProblem(options.ProjectDir, pathStatus); !problem.empty()) {
        err << problem << '\n';
        return pathStatus;
    }
    const std::string localeName = options.LocaleName.empty() ? DefaultLocaleName() : options.LocaleName;
    std::string step = "loading the project";
    try {
        TMemoryTextView textView;
        TRecordedMessages messages;
        TProgressLine progress(err, ShouldShowProgress(options.Quiet));
        TProgressObserver observer(progress);
        TWorkspace workspace(u"", localeName, textView, messages, observer);
        // Whatever the workspace was doing when memory ran out.
        struct TStepKeeper {
            const TWorkspace& Workspace;
            std::string& Step;
            bool Writing = false;
            ~TStepKeeper() {
                if (!Writing) Step = Workspace.Step();
            }
        } stepKeeper{workspace, step};

        // The file system's own bytes, so a name that is not UTF-8 still opens.
        std::u16string projectDir = FromFsPath(std::filesystem::path(options.ProjectDir));
        if (projectDir.empty() || projectDir.back() != PathSeparator().front()) projectDir += PathSeparator();
        workspace.LoadProject(projectDir);
        if (!messages.Message.empty()) {
            err << ToUtf8(messages.Message) << '\n';
            return 2;
        }
        if (options.ReadOnly) {
            ReadEveryText(workspace, localeName, out);
            return 0;
        }

        workspace.SetBalance(options.Balance);
        workspace.SetLeaveOutCopies(options.WithoutCopies);
        workspace.SetCopyWords(options.CopyWords);
        if (options.EachText) return PrintEachText(workspace, options, localeName, out, err);
        if (options.Copies) {
            const TGrid copies = CopiesGrid(workspace.CopiedPassages());
            out << TsvText(copies, copies.RowCount());
            return 0;
        }
        if (options.ValidationReport) {
            workspace.acValidationExecute();
            progress.Clear();
            if (!messages.Error.empty()) {
                err << ToUtf8(messages.Error) << '\n';
                return 1;
            }
            const TGrid& report = *workspace.ValidationReport();
            WriteOut(out, TsvText(report, report.RowCount()));
            return 0;
        }
        workspace.Calculate(options.Validation);
        const TQuillprint& engine = *workspace.AuthorDetector();
        stepKeeper.Writing = true;
        step = "writing the output";
        if (options.Json) {
            WriteJson(out, engine, workspace.Summary());
            return 0;
        }
        if (options.Summary) {
            std::vector<std::u16string> names;
            for (const auto& author : engine.Authors())
                if (author.get() != engine.Test()) names.push_back(author->Name());
            WriteOut(out, SummaryText(workspace.Summary(), names));
            return 0;
        }
        switch (options.Table) {
            case TTable::Result:
                workspace.LoadGridResults();
                WriteOut(out, TsvText(workspace.sgResult(), workspace.sgResult().RowCount()));
                break;
            case TTable::Analysis:
                workspace.LoadGridAnalysis();
                WriteOut(out, TsvText(workspace.sgAnalysis(), workspace.sgAnalysis().RowCount()));
                break;
            case TTable::Stylometry: {
                const auto authorCount = static_cast<int32_t>(engine.Authors().size());
                if (options.Author >= authorCount) {
                    err << "--author " << options.Author << " is out of range: the engine has " << authorCount
                        << " authors (0 to " << authorCount - 1 << ")\n";
                    return 2;
                }
                workspace.FillStylometry(options.Author);
                WriteOut(out, TsvText(workspace.sgStylometry(), workspace.StylometryRowsWritten() + 1));
                break;
            }
        }
        return 0;
    } catch (const std::bad_alloc&) {
        err << OutOfMemoryMessage(step) << '\n';
        return 1;
    } catch (const std::exception& error) {
        err << error.what() << '\n';
        return 1;
    }
}

}  // namespace quillprint::cli
