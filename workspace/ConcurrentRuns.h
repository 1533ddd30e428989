// Independent calculations on several threads. Each task must own everything
// it changes; the results are the same whatever the number of threads.
#pragma once

#include <cstddef>
#include <functional>
#include <mutex>
#include <stop_token>

#include "engine/ParallelFor.h"

namespace quillprint {

// The number of calculations to run at once when the user asks for no
// particular number: one per core.
unsigned DefaultJobs();

// Runs task(0) to task(count - 1) on up to `jobs` threads (the calling thread
// counts as none of them); each thread takes the next index not yet started.
// A stop request lets running tasks end and starts no more. The first
// exception a task throws is rethrown once every thread has ended.
void RunConcurrently(size_t count, unsigned jobs, const std::function<void(size_t)>& task,
                     std::stop_token stop = {});

// The runner an engine spreads its independent parts with: on up to `jobs`
// threads; none at all (the engine's own order on the calling thread) for
// one job.
TParallelFor ThreadRunner(unsigned jobs);

struct TRunHooks;
// Hooks for runs going on side by side: each callback of `hooks` made under
// `lock`, so never two at once; every run on one thread of its own.
TRunHooks SharedHooks(const TRunHooks& hooks, std::mutex& lock);

}  // namespace quillprint
