// Drag and drop onto the window: a folder dropped anywhere opens it as the
// project; text files dropped on an author in the tree become texts of that
// author. Nothing is accepted while a calculation runs.
#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

class QDropEvent;
class QMimeData;
class QWidget;

namespace quillprint {

class TAuthorTreeView;
class TTreeNode;

// What a drag carries, as far as the window is concerned: one local folder,
// or local paths that are not folders (files to read); anything else (web
// links, a folder among files, several folders) is neither.
struct TDroppedPaths {
    QString Folder;
    QStringList Files;
};
TDroppedPaths DroppedPaths(const QMimeData* data);

class TProjectDrops : public QObject {
    Q_OBJECT
public:
    struct THooks {
        // False while drops must be refused (a calculation runs).
        std::function<bool()> Allowed;
        std::function<void(const QString& folder)> OpenFolder;
        // `author` is an author entry of the tree.
        std::function<void(TTreeNode* author, const QStringList& files)> AddFiles;
    };

    // Watches `window` (folders), the text view's viewport `textView`
    // (folders; its own text drops stay) and the tree (folders, and files
    // on an entry).
    TProjectDrops(QWidget* window, QWidget* textView, TAuthorTreeView* tree, THooks hooks);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The author entry under `drop` in the tree, or nullptr.
    TTreeNode* authorAt(const QDropEvent& drop) const;

    QWidget* FWindow;
    QWidget* FTextView;
    TAuthorTreeView* FTree;
    THooks FHooks;
};

}  // namespace quillprint
