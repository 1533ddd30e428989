#include "ui/RecentProjects.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace quillprint {

namespace {

const char* const kKey = "RecentProjects/folders";

QStringList Stored() { return QSettings().value(QLatin1String(kKey)).toStringList(); }

void Store(const QStringList& folders) { QSettings().setValue(QLatin1String(kKey), folders); }

}  // namespace

QString TRecentProjects::normalized(const QString& folder) {
    return QDir::cleanPath(QFileInfo(QDir::fromNativeSeparators(folder.trimmed())).absoluteFilePath());
}

QStringList TRecentProjects::folders() const {
    const QStringList stored = Stored();
    QStringList existing;
    for (const QString& folder : stored)
        if (QFileInfo(folder).isDir()) existing.append(folder);
    if (existing != stored) Store(existing);
    return existing;
}

void TRecentProjects::add(const QString& folder) const {
    const QString entry = normalized(folder);
    QStringList folders = Stored();
    folders.removeAll(entry);
    folders.prepend(entry);
    while (folders.size() > MaxCount) folders.removeLast();
    Store(folders);
}

}  // namespace quillprint
