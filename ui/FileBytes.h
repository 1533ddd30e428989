// A file the window or the report writer saves, written in one step.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace quillprint {

// Writes `bytes` as the file `path`: into a new file beside it that then
// takes its place (a link at `path` is replaced, never written through). On
// failure returns the system's reason, and the file at `path` is untouched.
std::optional<QString> WriteFileBytes(const QString& path, const QByteArray& bytes);

}  // namespace quillprint
