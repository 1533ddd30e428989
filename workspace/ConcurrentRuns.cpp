#include "workspace/ConcurrentRuns.h"

#include "workspace/Calculation.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace quillprint {

unsigned DefaultJobs() { return std::max(1u, std::thread::hardware_concurrency()); }

void RunConcurrently(size_t count, unsigned jobs, const std::function<void(size_t)>& task, std::stop_token stop) {
    std::atomic<size_t> next{0};
    std::mutex errorMutex;
    std::exception_ptr firstError;
    auto work = [&] {
        for (size_t index = next++; index < count && !stop.stop_requested(); index = next++) {
            try {
                task(index);
            } catch (...) {
                const std::lock_guard lock(errorMutex);
                if (!firstError) firstError = std::current_exception();
                next = count;  // start nothing more
            }
        }
    };
    const size_t threads = std::min<size_t>(std::max(1u, jobs), count);
    {
        std::vector<std::jthread> pool;
        pool.reserve(threads);
        for (size_t t = 0; t < threads; ++t) pool.emplace_back(work);
    }  // joins every thread
    if (firstError) std::rethrow_exception(firstError);
}

TParallelFor ThreadRunner(unsigned jobs) {
    if (jobs <= 1) return {};
    return [jobs](size_t count, const std::function<void(size_t)>& task) {
        if (count == 1)
            task(0);
        else
            RunConcurrently(count, jobs, task);
    };
}

TRunHooks SharedHooks(const TRunHooks& hooks, std::mutex& lock) {
    TRunHooks shared;
    shared.Stop = hooks.Stop;
    if (hooks.EnginePhase)
        shared.EnginePhase = [&hooks, &lock](TEnginePhase phase) {
            const std::lock_guard guard(lock);
            hooks.EnginePhase(phase);
        };
    if (hooks.Draw)
        shared.Draw = [&hooks, &lock](int32_t draw, int32_t draws) {
            const std::lock_guard guard(lock);
            hooks.Draw(draw, draws);
        };
    return shared;
}

}  // namespace quillprint
