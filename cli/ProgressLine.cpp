#include "cli/ProgressLine.h"

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

namespace quillprint::cli {

TProgressLine::TProgressLine(std::ostream& err, bool enabled) : FErr(err), FEnabled(enabled) {}

TProgressLine::~TProgressLine() { Clear(); }

void TProgressLine::Update(std::string_view what, int64_t done, int64_t total) {
    if (!FEnabled) return;
    const auto now = std::chrono::steady_clock::now();
    const bool edge = FShownLength == 0 || done >= total;
    if (!edge && now - FLastShown < std::chrono::milliseconds(100)) return;
    FLastShown = now;
    std::string line = std::string(what) + " " + std::to_string(done) + " of " + std::to_string(total);
    // Blanks over the rest of a longer line shown before.
    const size_t length = line.size();
    if (length < FShownLength) line.append(FShownLength - length, ' ');
    FErr << '\r' << line << std::flush;
    FShownLength = length;
}

void TProgressLine::Clear() {
    if (!FEnabled || FShownLength == 0) return;
    FErr << '\r' << std::string(FShownLength, ' ') << '\r' << std::flush;
    FShownLength = 0;
}

bool ShouldShowProgress(bool quiet) { return !quiet && isatty(2) == 1; }

}  // namespace quillprint::cli
