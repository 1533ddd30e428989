#include "ui/TableFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace quillprint {

TTableFormat TableFormatOf(const QString& path) {
    return QFileInfo(path).suffix().compare(QLatin1String("tsv"), Qt::CaseInsensitive) == 0 ? TTableFormat::Tsv
                                                                                             : TTableFormat::Csv;
}

std::optional<QString> WriteTableFile(const QString& path, const TGrid& grid) {
    const QByteArray bytes = QString::fromStdU16String(TableText(grid, TableFormatOf(path))).toUtf8();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit()) return file.errorString();
    return std::nullopt;
}

QString UserDocumentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

}  // namespace quillprint
