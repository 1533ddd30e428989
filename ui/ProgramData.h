// Where the window finds its example projects and its help document.
#pragma once

#include <QString>

namespace quillprint {

// The folder (ending with "/") that holds "Examples/" and "Quillprint.pdf"
// for a program in `executableDir` (ending with "/"): the executable's own
// folder in a build tree, the installed data folder (share/quillprint beside
// bin/) after installation. The executable's folder when neither has them.
QString ProgramDataFolder(const QString& executableDir);

}  // namespace quillprint
