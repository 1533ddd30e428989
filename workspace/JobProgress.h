// The progress of one job, written from any of the job's threads and read
// from another. The lock is inside: callers never lock, and the listener is
// never called two at once.
#pragma once

#include <functional>
#include <mutex>

#include "workspace/RunRequest.h"

namespace quillprint {

class TJobProgress {
public:
    using TListener = std::function<void(const TRunProgress&)>;

    // `listener`, when given, hears every new state, on the thread that made it.
    explicit TJobProgress(TListener listener = {}) : FListener(std::move(listener)) {}

    // Applies `change` to the state, then tells the listener the new state.
    template <class TChange>
    void Update(TChange&& change) {
        const std::lock_guard lock(FMutex);
        change(FState);
        if (FListener) FListener(FState);
    }
    TRunProgress Snapshot() const {
        const std::lock_guard lock(FMutex);
        return FState;
    }

private:
    TListener FListener;
    mutable std::mutex FMutex;
    TRunProgress FState;
};

}  // namespace quillprint
