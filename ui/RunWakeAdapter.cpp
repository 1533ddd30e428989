#include "ui/RunWakeAdapter.h"

#include <chrono>

namespace quillprint {

TRunWakeAdapter::TRunWakeAdapter(THooks hooks, QObject* parent) : QObject(parent), FHooks(std::move(hooks)) {
    FTimer.setSingleShot(true);
    connect(&FTimer, &QTimer::timeout, this, &TRunWakeAdapter::refresh);
}

void TRunWakeAdapter::wake() {
    // One call waits in the window's queue at most, however often the run wakes.
    if (!FPosted.exchange(true)) QMetaObject::invokeMethod(this, &TRunWakeAdapter::woke, Qt::QueuedConnection);
}

void TRunWakeAdapter::woke() {
    FPosted = false;
    if (!FHooks.Running()) return;
    const TRefreshThrottle::TDecision decision = FThrottle.Changed(std::chrono::steady_clock::now());
    if (decision.RefreshNow) refresh();
    if (decision.RefreshLater) FTimer.start(*decision.RefreshLater);
    FHooks.Collect();
}

void TRunWakeAdapter::refresh() {
    // A run that ended meanwhile has shown its end instead.
    if (FHooks.Running()) FHooks.ShowProgress();
    FThrottle.Refreshed(std::chrono::steady_clock::now());
}

}  // namespace quillprint
