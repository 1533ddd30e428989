// Cancelling a calculation from another thread. The engine's long loops ask
// at points a few milliseconds apart; a stop request ends the run with
// TCalculationCancelled and leaves the engine unusable.
#pragma once

#include <cstdint>
#include <stop_token>

#include "engine/EngineError.h"

namespace quillprint {

class TCancellation {
public:
    TCancellation() = default;
    explicit TCancellation(std::stop_token stop) : FStop(std::move(stop)) {}

    const std::stop_token& Token() const { return FStop; }

    // Throws TCalculationCancelled once a stop was requested.
    void Check() const
    {
        if (FStop.stop_requested())
            throw TCalculationCancelled();
    }
    // Check() on every `period`-th call (a power of two), for loops whose
    // single step is too cheap to ask every time.
    void Tick(uint32_t period = 4096)
    {
        if ((++FTicks & (period - 1)) == 0)
            Check();
    }

private:
    std::stop_token FStop;
    uint32_t FTicks = 0;
};

// For loops over many cheap steps: throws TCalculationCancelled when a stop
// was requested, asking only at every 65,536th step of `step`.
inline void CheckEvery64K(const std::stop_token& stop, size_t step)
{
    if ((step & 0xFFFF) == 0 && stop.stop_requested())
        throw TCalculationCancelled();
}

}  // namespace quillprint
