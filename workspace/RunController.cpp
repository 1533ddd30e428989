#include "workspace/RunController.h"

namespace quillprint {

TRunController::TRunController(TWorkspaceObserver& observer, std::function<void(TRunEnd)> finished)
    : FObserver(observer), FFinished(std::move(finished)) {}

TRunController::~TRunController() = default;

void TRunController::RunInBackground(std::function<void()> wake) {
    FService = std::make_unique<TCalculationService>(std::move(wake));
}

TRunProgress TRunController::Progress() const { return FService ? FService->Progress() : TRunProgress{}; }

void TRunController::Start(TRunRequest request) {
    FRunning = true;
    FKind = request.Kind;
    FObserver.RunStarted();
    if (FService)
        FService->Start(std::move(request), FHold);
    else
        Finish(ExecuteRunCaught(request));
}

void TRunController::Cancel() {
    if (FService) FService->Cancel();
}

void TRunController::Collect() {
    if (!FService || !FRunning) return;
    if (std::optional<TRunEnd> end = FService->TakeEnd()) Finish(std::move(*end));
}

void TRunController::Finish(TRunEnd end) {
    FRunning = false;
    FFinished(std::move(end));
}

}  // namespace quillprint
