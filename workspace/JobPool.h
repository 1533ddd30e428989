// The one place that runs long work on other threads: a process-wide pool of
// worker threads, started as they are first needed and kept for the rest of
// the process. Parallel loops share it (the calling thread takes part, and a
// loop inside a loop runs on its own thread), and a background job takes one
// worker for as long as it runs. Nothing else in the program starts a thread.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>
#include <vector>

#include "engine/ParallelFor.h"

namespace quillprint {

// The CPUs this process may run on: its CPU affinity, lowered by the CPU
// quota of its control group (cgroup v2 cpu.max, v1 cfs quota); at least 1.
unsigned UsableCpus();

// The number of calculations to run at once when the user asks for no
// particular number: what the pool may use, UsableCpus().
unsigned DefaultJobs();

// Concurrent calculations one process runs at most, per usable CPU: past the
// CPUs more threads buy no time, and each holds a whole calculation in memory.
inline constexpr unsigned kMaxJobsPerCpu = 4;

// The number of calculations to run at once for a request of `asked`: 0 asks
// for DefaultJobs(); anything above kMaxJobsPerCpu * UsableCpus() gets that.
unsigned BoundedJobs(unsigned asked);

class TJobPool;

// A background job started by TJobPool::Start. Dropping the handle neither
// stops nor waits for the job.
class TJob {
public:
    // Asks the job to stop; it sees the request through its stop token.
    void RequestStop() { FStop.request_stop(); }
    bool Finished() const;
    // Blocks until the job has ended.
    void Wait() const;

private:
    friend class TJobPool;
    std::stop_source FStop;
    mutable std::mutex FMutex;
    mutable std::condition_variable FEnded;
    bool FFinished = false;
};

class TJobPool {
public:
    // The pool of the process, sized by UsableCpus().
    static TJobPool& Shared();

    // A pool whose loops use up to `size` threads by default (the calling
    // thread counted); no worker starts before one is needed.
    explicit TJobPool(unsigned size);
    // Waits for every job and worker.
    ~TJobPool();
    TJobPool(const TJobPool&) = delete;
    TJobPool& operator=(const TJobPool&) = delete;

    unsigned Size() const { return FSize; }

    // Runs task(0) to task(count - 1), each at most once, on up to `jobs`
    // threads: the calling thread and jobs - 1 workers, each taking the next
    // index not yet started. A stop request starts no more tasks; the first
    // exception ends the loop too. Returns when every started task has ended,
    // then rethrows the exception of the lowest index that threw, the one a
    // run in index order would have met first. Inside a task of another
    // multi-threaded loop, the loop runs in order on the calling thread.
    void ForEach(size_t count, unsigned jobs, const std::function<void(size_t)>& task, std::stop_token stop = {});

    // Runs `work` on a worker, with the job's stop token, then `finished`
    // (also on the worker). When no worker can be started, both run on the
    // calling thread before Start returns.
    std::shared_ptr<TJob> Start(std::function<void(std::stop_token)> work, std::function<void()> finished = {});

    // Worker threads started since the pool was made.
    size_t ThreadsStarted() const;

    // For tests: while set, starting a worker fails as when the system has
    // no thread left; idle workers are ended, so new work needs new ones.
    void FailThreadStartsForTesting(bool fail);

private:
    struct TTask {
        std::function<void()> Run;
        const void* Owner = nullptr;  // the loop that posted it; nullptr for a background job
    };
    struct TLoop;

    // Queues `task` and makes sure a worker will take it, starting one when
    // none is idle (for a loop's task, only while fewer than `helpers`
    // workers are free of background jobs). False when a background job was
    // not queued because no worker could take it.
    bool Post(TTask task, size_t helpers);
    // Removes the tasks of `owner` that no worker has taken yet; how many.
    size_t Withdraw(const void* owner);
    bool StartWorkerLocked();
    void WorkerLoop();

    const unsigned FSize;
    mutable std::mutex FMutex;
    std::condition_variable FWork;
    std::condition_variable FWorkerEnded;
    std::deque<TTask> FQueue;
    std::vector<std::thread> FThreads;
    size_t FIdle = 0;        // workers waiting for a task, or just started
    size_t FAlive = 0;       // workers not yet ended
    size_t FBackground = 0;  // workers running a background job
    size_t FThreadsStarted = 0;
    bool FClosing = false;
    bool FFailStarts = false;
};

// What a job computed, or the exception that ended it.
template <typename T>
struct TJobResult {
    std::optional<T> Value;
    std::exception_ptr Error;

    // The value; rethrows the job's exception.
    T Take() {
        if (Error) std::rethrow_exception(Error);
        return std::move(*Value);
    }
};

// Runs `work` and keeps what it returns or throws.
template <typename T, typename TWork>
TJobResult<T> CatchResult(TWork& work, std::stop_token stop) {
    TJobResult<T> result;
    try {
        result.Value.emplace(work(std::move(stop)));
    } catch (...) {
        result.Error = std::current_exception();
    }
    return result;
}

// The runner an engine spreads its independent parts with: the shared pool
// with up to `jobs` threads; none at all (the engine's own order on the
// calling thread) for one job.
TParallelFor PoolRunner(unsigned jobs);

}  // namespace quillprint
