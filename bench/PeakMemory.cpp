#include "PeakMemory.h"

#include <fstream>
#include <sstream>
#include <string>

namespace quillprint::bench {

void ResetPeakMemory() {
    std::ofstream clearRefs("/proc/self/clear_refs");
    clearRefs << "5";  // 5 resets the peak resident size to the current one
}

double PeakMemoryMiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) != 0) continue;
        std::istringstream fields(line.substr(6));
        double kib = 0;
        fields >> kib;
        return kib / 1024.0;
    }
    return 0;
}

}  // namespace quillprint::bench
