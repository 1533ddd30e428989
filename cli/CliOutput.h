// What quillprint-cli prints: tables as tab-separated lines and the engine's
// state as JSON, all in UTF-8 with LF line ends.
#pragma once

#include <cstdint>
#include <string>

namespace quillprint {
class TGrid;
class TQuillprint;
}  // namespace quillprint

namespace quillprint::cli {

// Rows 0 to rowCount - 1, cells joined by tabs, one row per line. A tab, CR
// or LF inside a cell becomes a blank so every row stays one line.
std::string TsvText(const TGrid& grid, int32_t rowCount);
// One row of TsvText.
std::string TsvRow(const TGrid& grid, int32_t row);

// The text with each CR turned into LF.
std::string SummaryText(const std::u16string& summary);

// {"authors":[...],"phrases":[...],"summary":"...","average":N}
std::string JsonText(const TQuillprint& engine, const std::u16string& summary);

}  // namespace quillprint::cli
