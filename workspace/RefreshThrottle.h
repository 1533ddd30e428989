// Spaces out the refreshes of a progress display: at most one per interval,
// and the latest progress is never left unshown for longer than that.
// Clock-free and thread-free: the display's owner tells the time and keeps
// the timer.
#pragma once

#include <chrono>
#include <optional>

namespace quillprint {

class TRefreshThrottle {
public:
    using TTime = std::chrono::steady_clock::time_point;
    using TDelay = std::chrono::milliseconds;

    static constexpr TDelay kDefaultInterval{50};
    explicit TRefreshThrottle(TDelay interval = kDefaultInterval) : FInterval(interval) {}

    // What the owner does when the progress changed at `now`.
    struct TDecision {
        bool RefreshNow = false;
        // Set when a refresh must follow after this delay (start a timer).
        std::optional<TDelay> RefreshLater;
    };
    TDecision Changed(TTime now);
    // The owner refreshed the display at `now` (at once or from its timer).
    void Refreshed(TTime now);

private:
    TDelay FInterval;
    std::optional<TTime> FLastRefresh;
    bool FScheduled = false;
};

}  // namespace quillprint
