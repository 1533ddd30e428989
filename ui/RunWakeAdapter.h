// Between a background run and the window: the run's wake-ups (from its
// worker thread) become one queued call at a time on the window's thread,
// which collects a finished run at once and refreshes the shown progress at
// most every 50 ms (TRefreshThrottle), the latest progress always shown.
#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>
#include <functional>

#include "workspace/RefreshThrottle.h"

namespace quillprint {

class TRunWakeAdapter : public QObject {
    Q_OBJECT
public:
    struct THooks {
        std::function<bool()> Running;       // a run is under way
        std::function<void()> ShowProgress;  // shows the run's progress now
        std::function<void()> Collect;       // takes the run's end, if it has ended
    };
    TRunWakeAdapter(THooks hooks, QObject* parent);

    // Safe from any thread: arranges for the window to look, never waits.
    void wake();

private:
    void woke();
    void refresh();

    THooks FHooks;
    std::atomic<bool> FPosted{false};
    TRefreshThrottle FThrottle;
    QTimer FTimer;
};

}  // namespace quillprint
