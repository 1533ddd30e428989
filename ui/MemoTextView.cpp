#include "ui/MemoTextView.h"

#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QThread>
#include <system_error>
#include <utility>

namespace quillprint {

namespace {

QString JoinedLines(const TLines& lines) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(lines.size()));
    for (const auto& line : lines) list.append(QString::fromStdU16String(line));
    return list.join(QLatin1Char('\n'));
}

// A document the view can show, holding `text`. Every block gets its layout
// object here, so that the view's first layout pass only resets them.
std::unique_ptr<QTextDocument> PlainDocument(const QString& text, const QFont& font) {
    auto document = std::make_unique<QTextDocument>();
    document->setDocumentLayout(new QPlainTextDocumentLayout(document.get()));
    document->setDefaultFont(font);
    document->setPlainText(text);
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) block.layout();
    return document;
}

}  // namespace

TMemoTextView::TMemoTextView(QPlainTextEdit& memo, std::function<void(const std::u16string&)> readFailed)
    : FMemo(memo), FReadFailed(std::move(readFailed)), FJobs(std::make_unique<TWindowJobs>(&memo)) {}

TMemoTextView::~TMemoTextView() = default;

TLines TMemoTextView::Lines() const {
    TLines lines;
    const QString text = FMemo.toPlainText();
    // An empty view holds no lines, not one empty line.
    if (text.isEmpty()) return lines;
    for (const QString& line : text.split(QLatin1Char('\n'))) lines.push_back(line.toStdU16String());
    return lines;
}

void TMemoTextView::SetLines(const TLines& lines) {
    ++FRequest;
    FLoading = false;
    FWhenShown.clear();
    // A large document shown before goes; the memo gets a fresh one of its own.
    if (FDocument) showDocument(PlainDocument({}, FMemo.font()).release());
    FMemo.setPlainText(JoinedLines(lines));
}

void TMemoTextView::ShowFile(const std::filesystem::path& path, const std::string& codePage) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size < kReadInBackgroundFrom) {
        SetLines(ReadTextFile(path, codePage));
        return;
    }
    const uint64_t request = ++FRequest;
    FLoading = true;
    FWhenShown.clear();
    const QString name = QString::fromStdU16String(path.filename().u16string());
    showDocument(PlainDocument(tr("Reading \"%1\"…").arg(name), FMemo.font()).release());
    FJobs->Start<std::unique_ptr<QTextDocument>>(
        [path, codePage, font = FMemo.font()](std::stop_token) {
            std::unique_ptr<QTextDocument> document = PlainDocument(JoinedLines(ReadTextFile(path, codePage)), font);
            // Of no thread until the window's thread takes it; dropped, it
            // may go on any thread.
            document->moveToThread(nullptr);
            return document;
        },
        [this, request](TJobResult<std::unique_ptr<QTextDocument>>& result) {
            // A newer text was asked for meanwhile.
            if (request != FRequest) return;
            FLoading = false;
            std::unique_ptr<QTextDocument> document;
            try {
                document = result.Take();
            } catch (const std::exception& failure) {
                FWhenShown.clear();
                showDocument(PlainDocument({}, FMemo.font()).release());
                FReadFailed(QString::fromUtf8(failure.what()).toStdU16String());
                return;
            }
            document->moveToThread(QThread::currentThread());
            showDocument(document.release());
            for (const auto& then : std::exchange(FWhenShown, {})) then();
        });
}

void TMemoTextView::showDocument(QTextDocument* document) {
    QTextDocument* previous = FDocument;
    // Highlights point into the document shown before.
    FMemo.setExtraSelections({});
    document->setParent(&FMemo);
    FMemo.setDocument(document);
    FDocument = document;
    delete previous;
}

void TMemoTextView::whenShown(std::function<void()> then) {
    if (FLoading)
        FWhenShown.push_back(std::move(then));
    else
        then();
}

void TMemoTextView::SetReadOnly(bool readOnly) { FMemo.setReadOnly(readOnly); }

void TMemoTextView::SetVisible(bool visible) { FMemo.setVisible(visible); }

}  // namespace quillprint
