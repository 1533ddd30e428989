// The job pool: loops run every index once whatever the threads, errors and
// stop requests end them as a run in order would, loops inside loops stay on
// their thread, threads are kept, and a pool that cannot start a thread still
// finishes every job with the same result.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <limits>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "SampleText.h"
#include "engine/Text.h"
#include "workspace/Calculation.h"
#include "workspace/JobPool.h"
#include "workspace/TextReader.h"

#ifdef __linux__
#include <sched.h>
#endif

namespace quillprint {
namespace {

TEST(JobPool, EveryIndexRunsExactlyOnceForAnyNumberOfJobs) {
    TJobPool pool(4);
    for (const unsigned jobs : {1u, 2u, 3u, 8u}) {
        for (const size_t count : {size_t{0}, size_t{1}, size_t{2}, size_t{1000}}) {
            SCOPED_TRACE(std::to_string(jobs) + " jobs, " + std::to_string(count) + " tasks");
            std::vector<std::atomic<int>> runs(count);
            pool.ForEach(count, jobs, [&](size_t index) { ++runs[index]; });
            for (size_t index = 0; index < count; ++index) EXPECT_EQ(runs[index], 1) << index;
        }
    }
}

TEST(JobPool, RethrowsTheLowestIndexErrorAfterEveryTaskHasEnded) {
    TJobPool pool(3);
    std::atomic<int> running = 0;
    std::atomic<int> runningAtEnd = -1;
    const auto task = [&](size_t index) {
        ++running;
        // Index 7 throws late, after index 9 has thrown, on another thread.
        if (index == 7) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        --running;
        if (index == 7 || index == 9) throw std::runtime_error("task " + std::to_string(index));
    };
    try {
        pool.ForEach(40, 3, task);
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& error) {
        runningAtEnd = running.load();
        EXPECT_STREQ(error.what(), "task 7");
    }
    EXPECT_EQ(runningAtEnd, 0);
}

TEST(JobPool, AStopRequestStartsNoMoreTasks) {
    TJobPool pool(3);
    for (const unsigned jobs : {1u, 3u}) {
        std::stop_source stop;
        std::atomic<int> started = 0;
        pool.ForEach(
            10000, jobs,
            [&](size_t index) {
                ++started;
                if (index == 5) stop.request_stop();
            },
            stop.get_token());
        // The threads under way may each start one more task, no more.
        EXPECT_LE(started, 6 + static_cast<int>(jobs)) << jobs;
    }
}

TEST(JobPool, ALoopInsideALoopRunsOnItsOwnThread) {
    TJobPool pool(3);
    std::atomic<int> strays = 0;
    pool.ForEach(6, 3, [&](size_t) {
        const std::thread::id outer = std::this_thread::get_id();
        pool.ForEach(50, 3, [&](size_t) {
            if (std::this_thread::get_id() != outer) ++strays;
        });
    });
    EXPECT_EQ(strays, 0);
}

TEST(JobPool, KeepsItsThreadsFromLoopToLoop) {
    TJobPool pool(4);
    for (int loop = 0; loop < 200; ++loop) pool.ForEach(8, 3, [](size_t) {});
    // Two helpers beside the calling thread, started once.
    EXPECT_LE(pool.ThreadsStarted(), 2u);
    EXPECT_GE(pool.ThreadsStarted(), 1u);
}

TEST(JobPool, ABackgroundJobRunsOnAWorkerAndHearsItsStopRequest) {
    TJobPool pool(2);
    std::atomic<bool> finished = false;
    std::thread::id worker;
    std::promise<void> begun;
    const std::shared_ptr<TJob> job = pool.Start(
        [&](std::stop_token stop) {
            worker = std::this_thread::get_id();
            begun.set_value();
            while (!stop.stop_requested()) std::this_thread::yield();
        },
        [&] { finished = true; });
    begun.get_future().wait();
    EXPECT_FALSE(job->Finished());
    job->RequestStop();
    job->Wait();
    EXPECT_TRUE(finished);
    EXPECT_NE(worker, std::this_thread::get_id());
}

TEST(JobPool, WithoutThreadsEveryJobRunsOnTheCallingThread) {
    TJobPool pool(3);
    pool.ForEach(4, 3, [](size_t) {});  // workers that the failure must end first
    pool.FailThreadStartsForTesting(true);
    std::set<std::thread::id> threads;
    std::mutex lock;
    pool.ForEach(100, 3, [&](size_t) {
        const std::lock_guard guard(lock);
        threads.insert(std::this_thread::get_id());
    });
    EXPECT_EQ(threads, std::set<std::thread::id>{std::this_thread::get_id()});

    std::thread::id jobThread;
    const std::shared_ptr<TJob> job = pool.Start([&](std::stop_token) { jobThread = std::this_thread::get_id(); });
    EXPECT_TRUE(job->Finished());
    EXPECT_EQ(jobThread, std::this_thread::get_id());
    pool.FailThreadStartsForTesting(false);
}

std::vector<TCandidateLines> SmallWriters() {
    std::vector<TCandidateLines> candidates;
    for (uint32_t seed = 1; seed <= 4; ++seed)
        candidates.push_back({u"Writer " + FromUtf8(std::to_string(seed)),
                              DecodeText(testing::Sample(seed, 40 + 30 * static_cast<int>(seed)), ""),
                              {},
                              {}});
    return candidates;
}

TEST(JobPool, ACalculationWhoseThreadsCannotStartGivesTheSameResult) {
    const std::vector<TCandidateLines> candidates = SmallWriters();
    const std::u16string test = FromUtf8(testing::Sample(3, 30));
    for (const bool balance : {false, true}) {
        SCOPED_TRACE(balance ? "balanced" : "plain");
        const TCalculationResult one = RunCalculation(candidates, test, "en_US", balance, 0, TRunHooks{{}, {}, {}, 1});
        TJobPool::Shared().FailThreadStartsForTesting(true);
        const TCalculationResult three =
            RunCalculation(candidates, test, "en_US", balance, 0, TRunHooks{{}, {}, {}, 3});
        TJobPool::Shared().FailThreadStartsForTesting(false);
        EXPECT_EQ(three.Summary, one.Summary);
        EXPECT_EQ(three.CandidateScores(), one.CandidateScores());
        EXPECT_EQ(three.Engine->Phrases().size(), one.Engine->Phrases().size());
    }
}

#ifdef __linux__
TEST(JobPool, UsableCpusFollowTheAffinityMask) {
    cpu_set_t saved;
    ASSERT_EQ(sched_getaffinity(0, sizeof saved, &saved), 0);
    cpu_set_t one;
    CPU_ZERO(&one);
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
        if (CPU_ISSET(cpu, &saved)) {
            CPU_SET(cpu, &one);
            break;
        }
    }
    ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
    const unsigned usable = UsableCpus();
    ASSERT_EQ(sched_setaffinity(0, sizeof saved, &saved), 0);
    EXPECT_EQ(usable, 1u);
    EXPECT_GE(UsableCpus(), 1u);
}

// --jobs 4294967295 once started a calculation per candidate or text at
// once, each holding its own engine: the request is bounded by the CPUs.
TEST(JobPool, AskedJobsAreBoundedByTheUsableCpus) {
    cpu_set_t saved;
    ASSERT_EQ(sched_getaffinity(0, sizeof saved, &saved), 0);
    cpu_set_t one;
    CPU_ZERO(&one);
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
        if (CPU_ISSET(cpu, &saved)) {
            CPU_SET(cpu, &one);
            break;
        }
    }
    ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
    const std::pair<unsigned, unsigned> cases[] = {{1, 1},
                                                   {3, 3},
                                                   {kMaxJobsPerCpu, kMaxJobsPerCpu},
                                                   {kMaxJobsPerCpu + 1, kMaxJobsPerCpu},
                                                   {std::numeric_limits<unsigned>::max(), kMaxJobsPerCpu}};
    std::vector<unsigned> bounded;
    for (const auto& [asked, expected] : cases) bounded.push_back(BoundedJobs(asked));
    ASSERT_EQ(sched_setaffinity(0, sizeof saved, &saved), 0);
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(bounded[i], cases[i].second) << "asked " << cases[i].first;
    EXPECT_EQ(BoundedJobs(0), DefaultJobs());
}
#endif

}  // namespace
}  // namespace quillprint
