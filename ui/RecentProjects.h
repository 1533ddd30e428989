// The project folders the user opened last, kept in the user's settings
// (QSettings under the application's organisation and name), so that the
// next start of the program offers them again.
#pragma once

#include <QStringList>

namespace quillprint {

class TRecentProjects {
public:
    static constexpr int MaxCount = 8;

    // Most recent first. Folders that no longer exist are dropped, from the
    // settings too.
    QStringList folders() const;
    // Puts `folder` first; an earlier entry of the same folder goes, and the
    // list keeps the MaxCount most recent.
    void add(const QString& folder) const;

    // The form folders are kept in: absolute, cleaned, without a trailing separator.
    static QString normalized(const QString& folder);
};

}  // namespace quillprint
