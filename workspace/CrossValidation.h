// Cross-validation on the project's own texts: each known text of each
// candidate in turn plays the disputed text, the rest stay the candidates'
// samples, and the check records whom the calculation ranked first. The
// share of right answers, per candidate and overall, says how far to trust
// an answer on this project; the checks' margins feed the confidence fit.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "workspace/BalancedSample.h"
#include "workspace/Confidence.h"

namespace quillprint {

struct TCrossValidationSettings {
    std::string LocaleName;
    bool Balance = false;
    int32_t LeaveOutCopies = 0;
    TWordSplitting Splitting = TWordSplitting::Spaces;
    // Hold out a random excerpt of this many words of each held-out text; 0:
    // the whole text.
    int64_t ExcerptWords = 0;
    uint64_t Seed = 1;
    unsigned Jobs = 1;
};

struct TCrossCheck {
    std::u16string Text;    // the held-out text's label
    int32_t Truth = -1;     // its candidate
    int64_t Words = 0;      // words held out
    int32_t Top = -1;       // ranked first
    int32_t RunnerUp = -1;  // ranked second; -1 with one candidate
    double Margin = 0;      // the first's score minus the runner-up's
    bool Right = false;     // the true candidate alone ranked first
    int32_t DeltaTop = -1;  // ranked first by Cosine Delta
};

struct TCandidateFigures {
    int32_t Checks = 0;  // its texts held out
    int32_t Found = 0;   // of those, ranked first
    int32_t Named = 0;   // checks that ranked it first
    double Recall() const { return Checks == 0 ? 0.0 : static_cast<double>(Found) / Checks; }
    double Precision() const { return Named == 0 ? 0.0 : static_cast<double>(Found) / Named; }
};

struct TCrossValidation {
    std::vector<std::u16string> Names;  // the candidates, in engine order
    std::vector<int64_t> SampleWords;   // each candidate's words, all its texts
    std::vector<TCrossCheck> Checks;
    uint64_t Seed = 0;
    int64_t ExcerptWords = 0;

    // With a single candidate every check ranks it first: the checks can
    // never go wrong, so their shares and the fit tell nothing.
    bool CanTell() const { return Names.size() > 1; }
    int32_t Right() const;
    int32_t DeltaRight() const;
    double Accuracy() const;
    double DeltaAccuracy() const;
    std::vector<TCandidateFigures> Figures() const;
    // Counts[truth][ranked first].
    std::vector<std::vector<int32_t>> Confusion() const;
    // The fit of the checks; without checks when they cannot tell.
    TConfidenceFit Fit() const;
};

// Every check of `candidates`, side by side on settings.Jobs threads of the
// pool, with the same result for any number. `progress` hears (checks done,
// checks in all) from the checks' threads, never two at once. A stop request
// ends it with TCalculationCancelled.
TCrossValidation RunCrossValidation(const std::vector<TCandidateLines>& candidates,
                                    const TCrossValidationSettings& settings,
                                    const std::function<void(int32_t done, int32_t total)>& progress = {},
                                    std::stop_token stop = {});

// The disputed text's length as CountWords counts it, the default excerpt.
int64_t ExcerptWordsFor(std::u16string_view test);

}  // namespace quillprint
