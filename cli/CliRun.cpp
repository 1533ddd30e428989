#include "cli/CliRun.h"

#include "cli/CliOutput.h"
#include "cli/EachTextRun.h"
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
    out << texts << " texts\t" << lines << " lines\t" << units << " code units\n";
}

}  // namespace

int RunCli(const TCliOptions& options, std::ostream& out, std::ostream& err) {
    const std::string localeName = options.LocaleName.empty() ? DefaultLocaleName() : options.LocaleName;
    try {
        TMemoryTextView textView;
        TRecordedMessages messages;
        TWorkspaceObserver observer;
        TWorkspace workspace(u"", localeName, textView, messages, observer);

        std::u16string projectDir = FromUtf8(options.ProjectDir);
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
        if (options.EachText) return PrintEachText(workspace, options, localeName, out);
        if (options.Copies) {
            const TGrid copies = CopiesGrid(workspace.CopiedPassages());
            out << TsvText(copies, copies.RowCount());
            return 0;
        }
        if (options.ValidationReport) {
            workspace.acValidationExecute();
            if (!messages.Error.empty()) {
                err << ToUtf8(messages.Error) << '\n';
                return 1;
            }
            const TGrid& report = *workspace.ValidationReport();
            out << TsvText(report, report.RowCount());
            return 0;
        }
        workspace.Calculate(options.Validation);
        const TQuillprint& engine = *workspace.AuthorDetector();
        if (options.Json) {
            out << JsonText(engine, workspace.Summary());
            return 0;
        }
        if (options.Summary) {
            out << SummaryText(workspace.Summary());
            return 0;
        }
        switch (options.Table) {
            case TTable::Result:
                workspace.LoadGridResults();
                out << TsvText(workspace.sgResult(), workspace.sgResult().RowCount());
                break;
            case TTable::Analysis:
                workspace.LoadGridAnalysis();
                out << TsvText(workspace.sgAnalysis(), workspace.sgAnalysis().RowCount());
                break;
            case TTable::Stylometry: {
                const auto authorCount = static_cast<int32_t>(engine.Authors().size());
                if (options.Author >= authorCount) {
                    err << "--author " << options.Author << " is out of range: the engine has " << authorCount
                        << " authors (0 to " << authorCount - 1 << ")\n";
                    return 2;
                }
                workspace.FillStylometry(options.Author);
                out << TsvText(workspace.sgStylometry(), workspace.StylometryRowsWritten() + 1);
                break;
            }
        }
        return 0;
    } catch (const std::exception& error) {
        err << error.what() << '\n';
        return 1;
    }
}

}  // namespace quillprint::cli
