// Starts, cancels and collects the runs of the window, one at a time: at once
// on the caller's thread, or as jobs of the shared pool once RunInBackground
// was called. What a finished run means for the project is the owner's
// business: the controller hands every end to one callback.
#pragma once

#include <functional>
#include <memory>
#include <stop_token>

#include "workspace/CalculationService.h"
#include "workspace/RunRequest.h"
#include "workspace/WorkspaceViews.h"

namespace quillprint {

class TRunController {
public:
    // `finished` receives each run's end on the owner's thread. The observer
    // hears RunStarted once a run counts as running.
    TRunController(TWorkspaceObserver& observer, std::function<void(TRunEnd)> finished);
    ~TRunController();
    TRunController(const TRunController&) = delete;
    TRunController& operator=(const TRunController&) = delete;

    // From now on runs go to the pool; `wake` is called on a pool thread
    // when there is progress or an end to collect, and the owner then calls
    // Collect on its own thread.
    void RunInBackground(std::function<void()> wake);
    bool InBackground() const { return FService != nullptr; }

    // A run was started and its end not yet handed over.
    bool Running() const { return FRunning; }
    // The kind of the run under way, or of the last one.
    TRunKind Kind() const { return FKind; }
    TRunProgress Progress() const;

    // Starts `request`; only when not Running(). Without a background
    // service the run ends, and `finished` is called, before this returns.
    void Start(TRunRequest request);
    // Asks the run to stop: it ends as cancelled.
    void Cancel();
    // For tests: the job of every background run started from now on first
    // calls `hold` on its worker with the run's stop token, so that a test
    // can keep the run from ending until it has done what it tests (pressed
    // "Cancel", closed the window) instead of hoping the run is slow enough.
    void HoldRuns(std::function<void(std::stop_token)> hold) { FHold = std::move(hold); }
    // Hands the run's end to `finished` if it has ended.
    void Collect();

private:
    void Finish(TRunEnd end);

    TWorkspaceObserver& FObserver;
    std::function<void(TRunEnd)> FFinished;
    std::unique_ptr<TCalculationService> FService;
    std::function<void(std::stop_token)> FHold;
    bool FRunning = false;
    TRunKind FKind = TRunKind::Calculation;
};

}  // namespace quillprint
