// The test text of a validation run, taken from the first author's lines.
#pragma once

#include <cstddef>

#include "workspace/TextReader.h"

namespace quillprint {

// A validation run holds back one line in this many.
inline constexpr size_t kHeldBackFraction = 5;

// Removes the last n div 5 of `lines` and returns them run together, the last
// line first, with nothing in between.
std::u16string HoldBackLines(TLines& lines);

}  // namespace quillprint
