#include "workspace/RefreshThrottle.h"

namespace quillprint {

TRefreshThrottle::TDecision TRefreshThrottle::Changed(TTime now) {
    // The timer already started shows this change too.
    if (FScheduled) return {};
    if (!FLastRefresh || now - *FLastRefresh >= FInterval) return {true, std::nullopt};
    FScheduled = true;
    return {false, std::chrono::ceil<TDelay>(*FLastRefresh + FInterval - now)};
}

void TRefreshThrottle::Refreshed(TTime now) {
    FLastRefresh = now;
    FScheduled = false;
}

}  // namespace quillprint
