#include "workspace/JobPool.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <fstream>
#include <limits>
#include <string>
#include <system_error>

#ifdef __linux__
#include <sched.h>
#endif

namespace quillprint {

namespace {

// How deep the current thread is inside tasks of multi-threaded loops; a
// loop started there runs in order, so the threads never wait on each other.
thread_local int tLoopDepth = 0;

struct TLoopDepth {
    TLoopDepth() { ++tLoopDepth; }
    ~TLoopDepth() { --tLoopDepth; }
    TLoopDepth(const TLoopDepth&) = delete;
    TLoopDepth& operator=(const TLoopDepth&) = delete;
};

#ifdef __linux__
// The control group of this process in the named hierarchy ("" for the
// unified v2 one), as /proc/self/cgroup lists it; "/" when not listed.
std::string CgroupPath(const std::string& controller) {
    std::ifstream file("/proc/self/cgroup");
    std::string line;
    while (std::getline(file, line)) {
        const size_t first = line.find(':');
        const size_t second = line.find(':', first + 1);
        if (first == std::string::npos || second == std::string::npos) continue;
        const std::string names = line.substr(first + 1, second - first - 1);
        const bool match =
            controller.empty() ? names.empty() : ("," + names + ",").find("," + controller + ",") != std::string::npos;
        if (match) return line.substr(second + 1);
    }
    return "/";
}

// CPUs allowed by a quota of `quota` microseconds per `period`; 0 for none.
unsigned QuotaCpus(double quota, double period) {
    if (quota <= 0 || period <= 0) return 0;
    return static_cast<unsigned>(std::max(1.0, std::ceil(quota / period)));
}

// The CPU quota of this process's control group; 0 when there is none. The
// group's own file is read first, then the one at the mount point (which a
// container shows as its own group).
unsigned CgroupCpus() {
    for (const std::string& dir : {"/sys/fs/cgroup" + CgroupPath(""), std::string("/sys/fs/cgroup")}) {
        std::ifstream file(dir + "/cpu.max");
        std::string quota;
        double period = 0;
        if (file >> quota >> period) return quota == "max" ? 0 : QuotaCpus(std::stod(quota), period);
    }
    for (const std::string& mount : {std::string("/sys/fs/cgroup/cpu"), std::string("/sys/fs/cgroup/cpu,cpuacct")}) {
        for (const std::string& dir : {mount + CgroupPath("cpu"), mount}) {
            std::ifstream quotaFile(dir + "/cpu.cfs_quota_us");
            std::ifstream periodFile(dir + "/cpu.cfs_period_us");
            double quota = 0, period = 0;
            if (quotaFile >> quota && periodFile >> period) return QuotaCpus(quota, period);
        }
    }
    return 0;
}
#endif

}  // namespace

unsigned UsableCpus() {
    unsigned cpus = std::thread::hardware_concurrency();
#ifdef __linux__
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0) cpus = static_cast<unsigned>(CPU_COUNT(&set));
    try {
        if (const unsigned quota = CgroupCpus(); quota > 0) cpus = std::min(cpus, quota);
    } catch (const std::exception&) {
        // An unreadable quota limits nothing.
    }
#endif
    return std::max(1u, cpus);
}

unsigned DefaultJobs() { return TJobPool::Shared().Size(); }

unsigned BoundedJobs(unsigned asked) {
    if (asked == 0) return DefaultJobs();
    return std::min(asked, kMaxJobsPerCpu * UsableCpus());
}

bool TJob::Finished() const {
    const std::lock_guard lock(FMutex);
    return FFinished;
}

void TJob::Wait() const {
    std::unique_lock lock(FMutex);
    FEnded.wait(lock, [this] { return FFinished; });
}

TJobPool& TJobPool::Shared() {
    static TJobPool pool(UsableCpus());
    return pool;
}

TJobPool::TJobPool(unsigned size) : FSize(std::max(1u, size)) {}

TJobPool::~TJobPool() {
    {
        const std::lock_guard lock(FMutex);
        FClosing = true;
    }
    FWork.notify_all();
    for (std::thread& thread : FThreads) thread.join();
}

size_t TJobPool::ThreadsStarted() const {
    const std::lock_guard lock(FMutex);
    return FThreadsStarted;
}

void TJobPool::FailThreadStartsForTesting(bool fail) {
    std::unique_lock lock(FMutex);
    FFailStarts = fail;
    FWork.notify_all();
    // Workers still running a background job stay; the others end.
    if (fail) FWorkerEnded.wait(lock, [this] { return FAlive == FBackground; });
}

bool TJobPool::StartWorkerLocked() {
    if (FFailStarts) return false;
    // Idle from the start: it looks at the queue before it first waits.
    ++FIdle;
    ++FAlive;
    try {
        FThreads.emplace_back([this] { WorkerLoop(); });
    } catch (const std::system_error&) {
        --FIdle;
        --FAlive;
        return false;
    }
    ++FThreadsStarted;
    return true;
}

void TJobPool::WorkerLoop() {
    std::unique_lock lock(FMutex);
    for (;;) {
        FWork.wait(lock, [this] { return !FQueue.empty() || FClosing || FFailStarts; });
        --FIdle;
        if (FQueue.empty()) {
            --FAlive;
            FWorkerEnded.notify_all();
            return;
        }
        TTask task = std::move(FQueue.front());
        FQueue.pop_front();
        const bool background = task.Owner == nullptr;
        if (background) ++FBackground;
        lock.unlock();
        task.Run();
        task = {};  // what the task holds is released before the next wait
        lock.lock();
        if (background) --FBackground;
        ++FIdle;
    }
}

bool TJobPool::Post(TTask task, size_t helpers) {
    const bool background = task.Owner == nullptr;
    const std::lock_guard lock(FMutex);
    FQueue.push_back(std::move(task));
    // An idle worker not yet woken for an earlier task takes it.
    if (FIdle >= FQueue.size()) {
        FWork.notify_one();
        return true;
    }
    // A loop has no more helpers than it asked for: a worker just finishing
    // will take the task, or the loop's own thread runs it.
    if ((background || FAlive - FBackground < helpers) && StartWorkerLocked()) return true;
    if (background) {
        FQueue.pop_back();
        return false;
    }
    return true;
}

size_t TJobPool::Withdraw(const void* owner) {
    const std::lock_guard lock(FMutex);
    return std::erase_if(FQueue, [owner](const TTask& task) { return task.Owner == owner; });
}

// One parallel loop: the next index to hand out and the error to rethrow.
struct TJobPool::TLoop {
    size_t Count = 0;
    const std::function<void(size_t)>* Task = nullptr;
    std::stop_token Stop;
    std::atomic<size_t> Next{0};
    std::mutex Mutex;
    std::condition_variable HelperEnded;
    size_t HelpersEnded = 0;
    size_t ErrorIndex = std::numeric_limits<size_t>::max();
    std::exception_ptr Error;

    void Work() {
        for (size_t index = Next++; index < Count && !Stop.stop_requested(); index = Next++) {
            try {
                (*Task)(index);
            } catch (...) {
                const std::lock_guard lock(Mutex);
                if (index < ErrorIndex) {
                    ErrorIndex = index;
                    Error = std::current_exception();
                }
                Next = Count;  // start nothing more
            }
        }
    }
};

void TJobPool::ForEach(size_t count, unsigned jobs, const std::function<void(size_t)>& task, std::stop_token stop) {
    const size_t threads = std::min<size_t>(std::max(1u, jobs), count);
    if (threads <= 1 || tLoopDepth > 0) {
        for (size_t index = 0; index < count && !stop.stop_requested(); ++index) task(index);
        return;
    }
    TLoop loop;
    loop.Count = count;
    loop.Task = &task;
    loop.Stop = std::move(stop);
    for (size_t helper = 1; helper < threads; ++helper) {
        Post({[&loop] {
                  {
                      const TLoopDepth depth;
                      loop.Work();
                  }
                  // The last touch of `loop`: the caller may end it as soon
                  // as this lock is released.
                  const std::lock_guard lock(loop.Mutex);
                  ++loop.HelpersEnded;
                  loop.HelperEnded.notify_all();
              },
              &loop},
             threads - 1);
    }
    {
        const TLoopDepth depth;
        loop.Work();
    }
    // Every index has been handed out: helpers no worker has taken yet are
    // not needed; the ones taken are waited for.
    const size_t taken = threads - 1 - Withdraw(&loop);
    {
        std::unique_lock lock(loop.Mutex);
        loop.HelperEnded.wait(lock, [&loop, taken] { return loop.HelpersEnded == taken; });
    }
    if (loop.Error) std::rethrow_exception(loop.Error);
}

std::shared_ptr<TJob> TJobPool::Start(std::function<void(std::stop_token)> work, std::function<void()> finished) {
    auto job = std::make_shared<TJob>();
    auto run = [job, work = std::move(work), finished = std::move(finished)] {
        try {
            work(job->FStop.get_token());
        } catch (...) {
            // A job reports its own errors; one that escapes ends only the job.
        }
        if (finished) finished();
        const std::lock_guard lock(job->FMutex);
        job->FFinished = true;
        job->FEnded.notify_all();
    };
    auto queued = std::make_shared<std::function<void()>>(std::move(run));
    if (!Post({[queued] { (*queued)(); }, nullptr}, 0)) (*queued)();
    return job;
}

TParallelFor PoolRunner(unsigned jobs) {
    if (jobs <= 1) return {};
    return [jobs](size_t count, const std::function<void(size_t)>& task) {
        TJobPool::Shared().ForEach(count, jobs, task);
    };
}

}  // namespace quillprint
