// How far to trust a verdict: how often the first-ranked candidate was right
// in the project's own cross-validation checks, as a function of the margin
// by which it led the runner-up. The fit is monotone (a larger lead is never
// less trustworthy), made by isotonic regression; the interval is the Wilson
// score interval of the checks that share the fitted value.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillprint {

// The default chance below which the verdict reads "Cannot tell".
inline constexpr double kDefaultConfidenceThreshold = 0.8;
inline constexpr char16_t kCannotTell[] = u"Cannot tell";
// Why checks with a single candidate tell nothing, after "Cannot tell".
inline constexpr char16_t kSingleCandidateReason[] = u": with a single candidate every check ranks it first";

struct TCheckOutcome {
    double Margin = 0;  // first score minus runner-up's
    bool Right = false;
};

// One step of the fitted curve: the checks with margins in [From, To]. The
// fit pools the raw shares; the chance it states is the smoothed one.
struct TConfidenceStep {
    double From = 0;
    double To = 0;
    int32_t Checks = 0;
    int32_t Right = 0;
    // The share of right answers, counted with one right and one wrong
    // answer more, so that a handful of checks never claims certainty.
    double Chance() const { return (Right + 1.0) / (Checks + 2.0); }
};

class TConfidenceFit {
public:
    TConfidenceFit() = default;
    // Pool-adjacent-violators over the checks ordered by margin.
    explicit TConfidenceFit(std::vector<TCheckOutcome> checks);

    int32_t Checks() const { return FChecks; }
    const std::vector<TConfidenceStep>& Steps() const { return FSteps; }

    // The step a new margin falls in: the last step that starts at or below
    // it (the first step below every check). Nothing without checks.
    const TConfidenceStep* StepFor(double margin) const;
    // The smallest margin from which the fitted chance reaches `threshold`;
    // a negative value when no margin does.
    double DecisiveMargin(double threshold) const;

private:
    std::vector<TConfidenceStep> FSteps;
    int32_t FChecks = 0;
};

// The Wilson score interval of `right` successes in `checks` trials at 90%.
struct TInterval {
    double Low = 0;
    double High = 0;
};
TInterval WilsonInterval90(int32_t right, int32_t checks);

struct TConfidence {
    int32_t Top = -1;   // the first-ranked candidate
    double Chance = 0;  // that it is right
    TInterval Interval;
    int32_t Checks = 0;  // the checks the fit was made from
    // The lead is smaller than in every check: the chance is at most the
    // fitted one, and nothing can be told.
    bool BelowChecks = false;
    bool CannotTell = true;  // the chance is below the threshold (or no check)
    bool SingleCandidate = false;  // one candidate only: no check can tell
    // When CannotTell: the candidates still in play, the first-ranked one
    // first, then by score (every candidate that is closer to the first than
    // the margin the checks need).
    std::vector<int32_t> InPlay;
};

// The confidence in the ranking `scores` (one per candidate) by `fit`.
TConfidence JudgeScores(const std::vector<double>& scores, const TConfidenceFit& fit,
                        double threshold = kDefaultConfidenceThreshold);

// "Chance that NAME is right: 87% (62 checks on this project, 90% interval 78–93%)";
// "at most 87%" when the lead is smaller than in every check; "Cannot tell"
// and why when there is no check to tell by.
std::u16string ChanceText(const TConfidence& confidence, const std::vector<std::u16string>& names);
// The verdict: the first-ranked name, or "Cannot tell: A, B or C".
std::u16string VerdictText(const TConfidence& confidence, const std::vector<std::u16string>& names);

}  // namespace quillprint
