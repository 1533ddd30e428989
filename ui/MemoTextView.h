// The text view mText as the workspace sees it: a list of lines. A large
// file is read and laid out as a job of the pool while the view shows a
// placeholder, so that selecting it never freezes the window; the text
// asked for last is the one shown.
#pragma once

#include <QCoreApplication>
#include <cstdint>
#include <functional>
#include <memory>

#include "ui/WindowJobs.h"
#include "workspace/WorkspaceViews.h"

class QPlainTextEdit;
class QTextDocument;

namespace quillprint {

class TMemoTextView : public TTextView {
    Q_DECLARE_TR_FUNCTIONS(TMemoTextView)
public:
    // Files from this size up are read in the background.
    static constexpr std::uintmax_t kReadInBackgroundFrom = 256 * 1024;

    // `readFailed` hears the error of a file read in the background.
    TMemoTextView(QPlainTextEdit& memo, std::function<void(const std::u16string&)> readFailed);
    ~TMemoTextView() override;

    TLines Lines() const override;
    void SetLines(const TLines& lines) override;
    void ShowFile(const std::filesystem::path& path, const std::string& codePage) override;
    void SetReadOnly(bool readOnly) override;
    void SetVisible(bool visible) override;

    // The file asked for last is being read; the view shows a placeholder.
    bool loading() const { return FLoading; }
    // A file is being read, for the text shown or for one asked for before.
    bool reading() const { return FJobs->Running(); }
    // Runs `then` once the text asked for last is shown: now, or when its
    // file has been read (never, if another text is asked for first).
    void whenShown(std::function<void()> then);

private:
    // Puts `document` into the view, which owns it from now on, and lets go
    // of a document shown before.
    void showDocument(QTextDocument* document);

    QPlainTextEdit& FMemo;
    std::function<void(const std::u16string&)> FReadFailed;
    // Every text asked for gets the next number; a file read for an older
    // one is dropped.
    uint64_t FRequest = 0;
    bool FLoading = false;
    std::vector<std::function<void()>> FWhenShown;
    // The document in the view when the view made it (not the memo's own).
    QTextDocument* FDocument = nullptr;
    std::unique_ptr<TWindowJobs> FJobs;
};

}  // namespace quillprint
