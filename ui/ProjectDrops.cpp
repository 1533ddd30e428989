#include "ui/ProjectDrops.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "ui/AuthorTreeView.h"
#include "workspace/AuthorTree.h"

namespace quillprint {

TDroppedPaths DroppedPaths(const QMimeData* data) {
    TDroppedPaths paths;
    if (!data || !data->hasUrls()) return paths;
    const QList<QUrl> urls = data->urls();
    QStringList files;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile()) return paths;
        const QString path = url.toLocalFile();
        const QFileInfo info(path);
        if (info.isDir()) {
            if (urls.size() != 1) return paths;
            paths.Folder = path;
            return paths;
        }
        // Anything else goes to the text reader, which says why it cannot
        // be read.
        files.append(path);
    }
    paths.Files = files;
    return paths;
}

TProjectDrops::TProjectDrops(QWidget* window, QWidget* textView, TAuthorTreeView* tree, THooks hooks)
    : QObject(window), FWindow(window), FTextView(textView), FTree(tree), FHooks(std::move(hooks)) {
    FWindow->setAcceptDrops(true);
    FTree->setAcceptDrops(true);
    FTree->viewport()->setAcceptDrops(true);
    for (QWidget* watched : {FWindow, FTextView, FTree->viewport()}) watched->installEventFilter(this);
}

TTreeNode* TProjectDrops::authorAt(const QDropEvent& drop) const {
    TTreeNode* node = TAuthorTreeView::nodeOf(FTree->itemAt(drop.position().toPoint()));
    return node ? node->Author() : nullptr;
}

bool TProjectDrops::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
    auto* drop = static_cast<QDropEvent*>(event);
    const TDroppedPaths paths = DroppedPaths(drop->mimeData());
    bool ours = !paths.Folder.isEmpty();
    TTreeNode* author = nullptr;
    if (watched == FTree->viewport() && !paths.Files.isEmpty()) {
        // Files are taken in over the tree; where they may fall is decided
        // entry by entry as the drag moves.
        author = type == QEvent::DragEnter ? nullptr : authorAt(*drop);
        ours = type == QEvent::DragEnter || author;
    }
    // The text view keeps its own drops of text.
    if (!ours && watched == FTextView) return false;
    if (!ours || !FHooks.Allowed()) {
        drop->ignore();
        return true;
    }
    drop->acceptProposedAction();
    if (type == QEvent::Drop) {
        // Done after the drop returns: the source of the drag waits for it,
        // and opening a folder may first ask the user a question.
        if (!paths.Folder.isEmpty())
            QTimer::singleShot(0, this, [this, folder = paths.Folder] { FHooks.OpenFolder(folder); });
        else
            QTimer::singleShot(0, this, [this, author, files = paths.Files] { FHooks.AddFiles(author, files); });
    }
    return true;
}

}  // namespace quillprint
