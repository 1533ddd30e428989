// Long work of the window as jobs of the shared pool: the work runs on a
// pool thread and its end comes back to the window's thread as a queued
// call, so the window never waits and never spins an event loop. When the
// window goes, jobs still running are asked to stop and their ends are
// dropped; nothing waits for them.
#pragma once

#include <QMetaObject>
#include <QObject>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <vector>

#include "workspace/JobPool.h"

namespace quillprint {

class TWindowJobs {
public:
    // `window` receives the ends; it owns this object.
    explicit TWindowJobs(QObject* window) : FShared(std::make_shared<TShared>(window)) {}
    ~TWindowJobs() {
        {
            const std::lock_guard lock(FShared->Mutex);
            FShared->Window = nullptr;
        }
        for (const auto& job : FJobs) job->RequestStop();
    }
    TWindowJobs(const TWindowJobs&) = delete;
    TWindowJobs& operator=(const TWindowJobs&) = delete;

    // Runs `work` on the pool, then `done` with its result on the window's
    // thread (unless the window has gone by then).
    template <typename T>
    void Start(std::function<T(std::stop_token)> work, std::function<void(TJobResult<T>&)> done) {
        ++FRunning;
        std::erase_if(FJobs, [](const auto& job) { return job->Finished(); });
        FJobs.push_back(TJobPool::Shared().Start([shared = FShared, jobs = this, work = std::move(work),
                                                  done = std::move(done)](std::stop_token stop) mutable {
            auto result = std::make_shared<TJobResult<T>>(CatchResult<T>(work, std::move(stop)));
            const std::lock_guard lock(shared->Mutex);
            if (!shared->Window) return;
            // Queued calls to a window that is deleted are dropped with it,
            // and `jobs` lives as long as the window.
            QMetaObject::invokeMethod(
                shared->Window,
                [jobs, done, result] {
                    --jobs->FRunning;
                    done(*result);
                },
                Qt::QueuedConnection);
        }));
    }

    // A job was started and its end not yet handed over.
    bool Running() const { return FRunning > 0; }

private:
    struct TShared {
        explicit TShared(QObject* window) : Window(window) {}
        std::mutex Mutex;
        QObject* Window;  // nullptr once the window goes
    };
    std::shared_ptr<TShared> FShared;
    std::vector<std::shared_ptr<TJob>> FJobs;
    int FRunning = 0;
};

}  // namespace quillprint
