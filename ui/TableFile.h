// "Save as…" of a table: the file's format by its name, writing it in one
// step, and where the save dialog starts.
#pragma once

#include <QString>
#include <optional>

#include "workspace/TableText.h"

namespace quillprint {

// TSV for a name ending in ".tsv" (any letter case), CSV for every other.
TTableFormat TableFormatOf(const QString& path);

// Writes `grid` to `path` as UTF-8 in the format its name asks for,
// replacing the file in one step. On failure returns the reason, and the
// file at `path` is untouched.
std::optional<QString> WriteTableFile(const QString& path, const TGrid& grid);

// The user's documents folder (the home folder when there is none): save
// dialogs start there, never in the project folder.
QString UserDocumentsFolder();

}  // namespace quillprint
