// Runs calculations away from the caller's thread, as jobs of the shared
// pool: one run at a time, with its progress and a way to cancel it. It knows
// nothing of windows: the owner is woken from the worker thread and then
// collects, on its own thread, the progress and the finished run.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "workspace/Calculation.h"
#include "workspace/EachText.h"
#include "workspace/JobPool.h"
#include "workspace/JobProgress.h"
#include "workspace/RunRequest.h"
#include "workspace/RunResult.h"

namespace quillprint {

// What a run computed: the result of its kind (see RunResult.h), and
// whether words were split at separators only, yet most characters of the
// texts are in scripts written without spaces (see LanguageHint.h).
struct TRunOutcome {
    TRunKind Kind = TRunKind::Calculation;
    TRunResult Result;
    bool SplittingHint = false;
};

// How a run ended: with its outcome, cancelled, or with an error's text.
struct TRunEnd {
    std::optional<TRunOutcome> Outcome;
    bool Cancelled = false;
    std::u16string Error;
};

using TProgressHandler = std::function<void(const TRunProgress&)>;

// "Not enough memory to calculate this project: it ran out while <step>."
std::string OutOfMemoryMessage(std::string_view step);

// A run that ran out of memory; its text is OutOfMemoryMessage of what the
// run was doing.
class TOutOfMemoryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What an EachText run tells its caller as it goes, from the run's
// threads, never two calls at once.
struct TEachTextEvents {
    // Once every text is read, before the first is calculated: how many
    // texts this run calculates, and TRunOutcome::SplittingHint.
    std::function<void(size_t texts, bool splittingHint)> Started;
    // Each text as its calculation ends, in any order; `index` is its place
    // among this run's texts.
    TTextFinished Finished;
};

// The whole run on the calling thread: reads the texts, then calculates.
// Errors (unreadable files, the engine's, TOutOfMemoryError) and a stop
// request (TCalculationCancelled) reach the caller.
TRunOutcome ExecuteRun(const TRunRequest& request, const TProgressHandler& progress = {}, std::stop_token stop = {},
                       const TEachTextEvents& events = {});

// ExecuteRun with every way out turned into a TRunEnd.
TRunEnd ExecuteRunCaught(const TRunRequest& request, const TProgressHandler& progress = {},
                         std::stop_token stop = {});

class TCalculationService {
public:
    // `wake` is called on the worker thread whenever the progress changed or
    // the run ended; it must only arrange for the owner to look (and never
    // wait for the owner's thread).
    explicit TCalculationService(std::function<void()> wake);
    // Asks a run still going to stop, without waiting for it: the run ends
    // on its own a few milliseconds later and wakes nobody. Only a call of
    // `wake` under way at that moment is waited for.
    ~TCalculationService();
    TCalculationService(const TCalculationService&) = delete;
    TCalculationService& operator=(const TCalculationService&) = delete;

    // Starts `request` as a job of the shared pool. Only when not Running().
    // `hold`, if given, is called first on the job's thread (see
    // TRunController::HoldRuns).
    void Start(TRunRequest request, std::function<void(std::stop_token)> hold = {});
    // Asks the run to stop; it ends as cancelled a few milliseconds later.
    void Cancel();
    // A run was started and its end not yet taken.
    bool Running() const { return FRunning; }
    TRunProgress Progress() const;
    // The end of the run once it has ended (once); nothing before.
    std::optional<TRunEnd> TakeEnd();

private:
    // What one run shares with its job, which may outlive the service.
    struct TRunState {
        explicit TRunState(std::function<void()> wake);
        std::mutex Mutex;  // guards End, Wake and Waking
        std::condition_variable WakeReturned;
        std::optional<TRunEnd> End;
        std::function<void()> Wake;  // emptied when the service goes
        int32_t Waking = 0;          // calls of Wake under way
        TJobProgress Progress;
        // Calls Wake outside the lock, so the owner may take the end or the
        // progress while it runs.
        void CallWake();
    };

    std::function<void()> FWake;
    std::shared_ptr<TRunState> FRun;
    std::shared_ptr<TJob> FJob;
    bool FRunning = false;
};

}  // namespace quillprint
