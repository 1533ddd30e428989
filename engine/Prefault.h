// Memory the engine is about to fill whole, made ready beforehand.
#pragma once

#include <cstddef>

#include "engine/ParallelFor.h"

namespace quillprint {

// Asks the system to back the `bytes` from `data` (allocated, not yet
// written) with memory now, in parts side by side through `runner`: the
// pages are then made in a few calls instead of one fault for each page as
// it is first written, and not all on one thread. Only for large stretches
// on systems that can; elsewhere, or when the system declines, the pages
// come as they are written, as usual. Changes no byte.
void PrefaultMemory(const TParallelFor& runner, void* data, size_t bytes);

}  // namespace quillprint
