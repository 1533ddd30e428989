// A table as the text of a file the user saves: comma-separated values or
// the tab-separated rows that "Copy" puts on the clipboard.
#pragma once

#include <string>

#include "workspace/Grid.h"

namespace quillprint {

enum class TTableFormat { Csv, Tsv };

// Every row and column, the header row and the fixed column included.
// Csv: cells separated by commas, every row (the last one too) ended by LF;
// a cell holding a comma, a double quote, CR or LF is put in double quotes
// with its quotes doubled (RFC 4180, with LF line ends).
// Tsv: exactly the text "Copy" puts on the clipboard (CopyGrid).
std::u16string TableText(const TGrid& grid, TTableFormat format);

}  // namespace quillprint
