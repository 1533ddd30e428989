// The stylometry table: the phrases one author repeats.
#pragma once

#include <cstdint>

#include "workspace/Grid.h"

namespace quillprint {

class TAuthor;

// At most this many phrases are written per fill.
inline constexpr int32_t kMaxStylometryRows = 3000;

// A fresh stylometry table: 3 columns, 5 rows, the header row written.
TGrid NewStylometryGrid();

// Sorts the author's phrase list and writes its shown phrases; `authorIndex`
// is the author's position in the engine (its column of the counts). Returns
// the number of rows written. Rows the fill does not write are blanked.
int32_t FillStylometry(TAuthor& AAuthor, int32_t authorIndex, TGrid& table);

}  // namespace quillprint
