#include "ui/TableFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "ui/FileBytes.h"

namespace quillprint {

TTableFormat TableFormatOf(const QString& path) {
    return QFileInfo(path).suffix().compare(QLatin1String("tsv"), Qt::CaseInsensitive) == 0 ? TTableFormat::Tsv
                                                                                             : TTableFormat::Csv;
}

std::optional<QString> WriteTableFile(const QString& path, const TGrid& grid) {
    const QByteArray bytes = QString::fromStdU16String(TableText(grid, TableFormatOf(path))).toUtf8();
    return WriteFileBytes(path, bytes);
}

QString UserDocumentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

}  // namespace quillprint
