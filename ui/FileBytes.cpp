#include "ui/FileBytes.h"

#include <QFile>
#include <cstring>
#include <filesystem>
#include <string_view>

#include "workspace/SafeWrite.h"

namespace quillprint {

std::optional<QString> WriteFileBytes(const QString& path, const QByteArray& bytes) {
    try {
        WriteWholeFile(std::filesystem::path(QFile::encodeName(path).toStdString()),
                       std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    } catch (const TWriteError& error) {
        return QString::fromLocal8Bit(std::strerror(error.Error()));
    }
    return std::nullopt;
}

}  // namespace quillprint
