// Peak resident memory of this process, resettable per benchmark run.
#pragma once

namespace quillprint::bench {

// Starts a new peak at the current resident size (Linux: /proc/self/clear_refs).
void ResetPeakMemory();

// The highest resident size since the last reset, in MiB (VmHWM); 0 where the
// system does not report it.
double PeakMemoryMiB();

}  // namespace quillprint::bench
