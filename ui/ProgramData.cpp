#include "ui/ProgramData.h"

#include <QDir>
#include <QFileInfo>

namespace quillprint {

namespace {

bool HoldsProgramData(const QString& folder) {
    return QFileInfo(folder + QStringLiteral("Examples")).isDir() ||
           QFileInfo::exists(folder + QStringLiteral("Quillprint.pdf"));
}

}  // namespace

QString ProgramDataFolder(const QString& executableDir) {
    if (HoldsProgramData(executableDir)) return executableDir;
    // The install rules give the data folder's place relative to bin/.
    const QString installed =
        QDir::cleanPath(executableDir + QStringLiteral(QUILLPRINT_DATA_FROM_BINDIR)) + QLatin1Char('/');
    if (HoldsProgramData(installed)) return installed;
    return executableDir;
}

}  // namespace quillprint
