#include "cli/CliReport.h"

#include <QApplication>
#include <QDateTime>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/CliOutput.h"
#include "cli/CliRun.h"
#include "engine/Collation.h"
#include "workspace/JobPool.h"
#include "workspace/ProjectFolder.h"
#include "ui/ReportExport.h"
#include "ui/ReportPictures.h"
#include "workspace/Workspace.h"

namespace quillprint::cli {

namespace {

// The workspace's views, without a window: the text view holds lines, and
// messages are kept for standard error.
class TNoTextView : public TTextView {
public:
    TLines Lines() const override { return FLines; }
    void SetLines(const TLines& lines) override { FLines = lines; }
    void SetReadOnly(bool) override {}
    void SetVisible(bool) override {}

private:
    TLines FLines;
};

class TKeptMessages : public TMessageSink {
public:
    void ShowMessage(const std::u16string& text) override { Refusals.push_back(text); }
    void ShowError(const std::u16string& text) override { Errors.push_back(text); }
    std::vector<std::u16string> Refusals;
    std::vector<std::u16string> Errors;
};

}  // namespace

int RunReport(const TCliOptions& options, std::ostream& err) {
    if (const int status = CheckLocaleAndProject(options, err); status != 0) return status;
    // The pictures are drawn by the window's widgets, on no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "quillprint-cli";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);

    const std::string localeName = options.LocaleName.empty() ? DefaultLocaleName() : options.LocaleName;
    TNoTextView textView;
    TKeptMessages messages;
    TWorkspaceObserver observer;
    TWorkspace workspace(u"", localeName, textView, messages, observer);
    workspace.SetBalance(options.Balance);
    workspace.SetEachText(options.EachText);
    workspace.SetCopyWords(options.CopyWords);
    workspace.SetLeaveOutCopies(options.WithoutCopies);
    workspace.SetJobs(BoundedJobs(options.Jobs));
    workspace.SetValidateEveryCandidate(options.AllCandidates);
    workspace.SetSplitWordsByLanguage(options.SplitByLanguage);
    workspace.SetFollowLinks(options.FollowLinks);
    // The file system's own bytes, so a name that is not UTF-8 still opens.
    workspace.OpenFolder(FromFsPath(std::filesystem::path(options.ProjectDir)));
    if (!messages.Refusals.empty()) {
        err << VisibleMessage(ToUtf8(messages.Refusals.front())) << '\n';
        return 2;
    }
    // What the tree sets aside is named, as a calculation names it.
    for (const auto& author : workspace.Project().Tree().Authors()) {
        if (author->IsSetAside()) err << LeftOutLine(author->Label(), author->Note());
        for (const auto& text : author->Texts())
            if (text->IsSetAside()) err << LeftOutLine(author->Label() + PathSeparator() + text->Label(), text->Note());
    }
    if (messages.Errors.empty()) workspace.Calculate();
    if (messages.Errors.empty() && options.ValidationReport) workspace.Validate();
    // The cross-validation goes into the report as the window's does, with
    // the chance and verdict it gives the answer.
    if (messages.Errors.empty() && (options.CrossValidate || options.Confidence))
        workspace.CrossValidate(options.ExcerptWords);
    if (!messages.Errors.empty()) {
        err << "quillprint-cli: " << VisibleMessage(ToUtf8(messages.Errors.front())) << '\n';
        return 1;
    }
    const QString path = QString::fromStdString(options.ReportFile);
    if (const std::optional<QString> failure = WriteReport(path, workspace, ReportPictures(workspace, QApplication::font()),
                                                            QDateTime::currentDateTime())) {
        err << "quillprint-cli: cannot write the report \"" << VisibleText(options.ReportFile)
            << "\": " << VisibleMessage(failure->toStdString()) << '\n';
        return 1;
    }
    return 0;
}

}  // namespace quillprint::cli
