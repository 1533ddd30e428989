// The status bar's progress refreshes at most every 50 ms, and the latest
// progress always reaches it.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "workspace/RefreshThrottle.h"

namespace quillprint {
namespace {

using std::chrono::milliseconds;

// Plays the display's owner: progress changes at `changes` (ms, ascending),
// its timer fires when asked; returns the times of the refreshes.
std::vector<int> Refreshes(const std::vector<int>& changes) {
    TRefreshThrottle throttle;
    const TRefreshThrottle::TTime start{};
    std::vector<int> refreshes;
    std::map<int, int> timers;  // fire time -> count
    const auto refresh = [&](int at) {
        refreshes.push_back(at);
        throttle.Refreshed(start + milliseconds(at));
    };
    const auto fireTimersUpTo = [&](int at) {
        while (!timers.empty() && timers.begin()->first <= at) {
            const int fire = timers.begin()->first;
            timers.erase(timers.begin());
            refresh(fire);
        }
    };
    for (const int at : changes) {
        fireTimersUpTo(at);
        const TRefreshThrottle::TDecision decision = throttle.Changed(start + milliseconds(at));
        EXPECT_FALSE(decision.RefreshNow && decision.RefreshLater) << at;
        if (decision.RefreshNow) refresh(at);
        if (decision.RefreshLater) ++timers[at + static_cast<int>(decision.RefreshLater->count())];
    }
    fireTimersUpTo(1'000'000);
    return refreshes;
}

TEST(RefreshThrottle, AtMostOneRefreshPer50MsAndTheLastChangeAlwaysShown) {
    std::vector<int> everyMillisecond;
    for (int at = 0; at < 200; ++at) everyMillisecond.push_back(at);
    const struct {
        std::string Name;
        std::vector<int> Changes;
        std::vector<int> Refreshes;
    } cases[] = {
        {"one change is shown at once", {0}, {0}},
        {"changes far apart are each shown at once", {0, 60, 200}, {0, 60, 200}},
        {"a burst is shown once at once and once when 50 ms have passed", {0, 10, 20, 30}, {0, 50}},
        {"a change just inside the interval waits for its end", {0, 49, 120}, {0, 50, 120}},
        {"a change exactly one interval later is shown at once", {0, 50}, {0, 50}},
        {"a steady stream is shown every 50 ms", everyMillisecond, {0, 50, 100, 150, 200}},
    };
    for (const auto& c : cases) EXPECT_EQ(Refreshes(c.Changes), c.Refreshes) << c.Name;
}

}  // namespace
}  // namespace quillprint
