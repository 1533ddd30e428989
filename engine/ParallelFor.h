// How the engine hands out work whose parts do not depend on each other.
// The engine starts no thread itself: a caller may give it a runner that
// spreads the parts over threads. Every part writes only its own slot and
// the engine merges the slots in index order, so the result never depends
// on the runner or on timing.
#pragma once

#include <cstddef>
#include <functional>

namespace quillprint {

// Runs task(0) to task(count - 1), each exactly once, in any order and
// possibly at the same time; returns when every task has ended. It may
// rethrow an exception of any task.
using TParallelFor = std::function<void(size_t count, const std::function<void(size_t)>& task)>;

// Runs the tasks through `runner` (one after another when it is empty). An
// exception is kept per task and the one of the lowest index is rethrown
// after all have ended, so the caller sees the error a run in index order
// would have met first.
void RunParts(const TParallelFor& runner, size_t count, const std::function<void(size_t)>& task);

}  // namespace quillprint
