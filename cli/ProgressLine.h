// A progress line for long command-line work: one line on standard error,
// rewritten in place ("\r"), shown only to a person watching a terminal.
#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

namespace quillprint::cli {

class TProgressLine {
public:
    // Writes to `err` only when `enabled`; see ShouldShowProgress.
    TProgressLine(std::ostream& err, bool enabled);
    // Clears the line, so what follows starts on a clean one.
    ~TProgressLine();
    TProgressLine(const TProgressLine&) = delete;
    TProgressLine& operator=(const TProgressLine&) = delete;

    // Shows "<what> <done> of <total>". Updates closer together than a tenth
    // of a second are skipped, except the first and the last.
    void Update(std::string_view what, int64_t done, int64_t total);
    // Removes the line.
    void Clear();

private:
    std::ostream& FErr;
    bool FEnabled;
    size_t FShownLength = 0;
    std::chrono::steady_clock::time_point FLastShown{};
};

// True when standard error is a terminal and `quiet` is not set: a pipe, a
// file or a log never receives progress lines.
bool ShouldShowProgress(bool quiet);

}  // namespace quillprint::cli
