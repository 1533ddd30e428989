#include "workspace/Confidence.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "engine/Text.h"
#include "workspace/BalancedRun.h"
#include "workspace/ResultTable.h"

namespace quillprint {

TConfidenceFit::TConfidenceFit(std::vector<TCheckOutcome> checks) : FChecks(static_cast<int32_t>(checks.size())) {
    std::stable_sort(checks.begin(), checks.end(),
                     [](const TCheckOutcome& a, const TCheckOutcome& b) { return a.Margin < b.Margin; });
    for (const TCheckOutcome& check : checks) {
        // Checks of equal margin cannot be told apart: one step.
        if (!FSteps.empty() && FSteps.back().To == check.Margin) {
            ++FSteps.back().Checks;
            FSteps.back().Right += check.Right ? 1 : 0;
        } else {
            FSteps.push_back({check.Margin, check.Margin, 1, check.Right ? 1 : 0});
        }
        // Pool adjacent steps while the curve would not rise: one level per
        // share, so that its chance is told from all its checks.
        while (FSteps.size() > 1) {
            TConfidenceStep& last = FSteps.back();
            TConfidenceStep& before = FSteps[FSteps.size() - 2];
            if (static_cast<int64_t>(before.Right) * last.Checks < static_cast<int64_t>(last.Right) * before.Checks)
                break;
            before.To = last.To;
            before.Checks += last.Checks;
            before.Right += last.Right;
            FSteps.pop_back();
        }
    }
}

const TConfidenceStep* TConfidenceFit::StepFor(double margin) const {
    if (FSteps.empty()) return nullptr;
    const TConfidenceStep* step = &FSteps.front();
    for (const TConfidenceStep& candidate : FSteps)
        if (candidate.From <= margin) step = &candidate;
    return step;
}

double TConfidenceFit::DecisiveMargin(double threshold) const {
    for (const TConfidenceStep& step : FSteps)
        if (step.Chance() >= threshold) return step.From;
    return -1;
}

TInterval WilsonInterval90(int32_t right, int32_t checks) {
    if (checks <= 0) return {0, 1};
    constexpr double z = 1.6448536269514722;  // the 95th percentile of the normal distribution
    const double n = checks;
    const double p = right / n;
    const double centre = (p + z * z / (2 * n)) / (1 + z * z / n);
    const double half = z * std::sqrt(p * (1 - p) / n + z * z / (4 * n * n)) / (1 + z * z / n);
    return {std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

TConfidence JudgeScores(const std::vector<double>& scores, const TConfidenceFit& fit, double threshold) {
    TConfidence confidence;
    confidence.Checks = fit.Checks();
    confidence.Top = RankedFirst(scores);
    confidence.SingleCandidate = scores.size() == 1;
    if (confidence.Top < 0) return confidence;
    const double top = scores[static_cast<size_t>(confidence.Top)];
    double runnerUp = 0;
    bool hasRunnerUp = false;
    for (size_t c = 0; c < scores.size(); ++c)
        if (static_cast<int32_t>(c) != confidence.Top && (!hasRunnerUp || scores[c] > runnerUp)) {
            runnerUp = scores[c];
            hasRunnerUp = true;
        }
    const double margin = hasRunnerUp ? top - runnerUp : top;
    if (const TConfidenceStep* step = fit.StepFor(margin)) {
        confidence.Chance = step->Chance();
        confidence.Interval = WilsonInterval90(step->Right, step->Checks);
        confidence.BelowChecks = margin < step->From;
    }
    // A shared top score singles out nobody.
    confidence.CannotTell = fit.Checks() == 0 || margin <= 0 || confidence.BelowChecks || confidence.Chance < threshold;
    if (!confidence.CannotTell) return confidence;
    const double decisive = fit.DecisiveMargin(threshold);
    std::vector<int32_t> order(scores.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
        return scores[static_cast<size_t>(a)] > scores[static_cast<size_t>(b)];
    });
    for (const int32_t c : order)
        if (decisive < 0 || top - scores[static_cast<size_t>(c)] < decisive) confidence.InPlay.push_back(c);
    return confidence;
}

std::u16string ChanceText(const TConfidence& confidence, const std::vector<std::u16string>& names) {
    if (confidence.Top < 0) return {};
    const std::u16string start = u"Chance that " + names[static_cast<size_t>(confidence.Top)] + u" is right: ";
    if (confidence.SingleCandidate) return start + u"cannot tell, with a single candidate every check ranks it first";
    if (confidence.Checks == 0) return start + u"cannot tell, no checks on this project";
    auto percent = [](double value) { return FromUtf8(std::to_string(WholePercent(value))); };
    return start + (confidence.BelowChecks ? u"at most " : u"") + percent(confidence.Chance) + u"% (" +
           FromUtf8(std::to_string(confidence.Checks)) + u" checks on this project, 90% interval " +
           percent(confidence.Interval.Low) + u"\u2013" + percent(confidence.Interval.High) + u"%)";
}

std::u16string VerdictText(const TConfidence& confidence, const std::vector<std::u16string>& names) {
    if (!confidence.CannotTell && confidence.Top >= 0) return names[static_cast<size_t>(confidence.Top)];
    std::u16string text = kCannotTell;
    for (size_t i = 0; i < confidence.InPlay.size(); ++i) {
        text += i == 0 ? u": " : (i + 1 == confidence.InPlay.size() ? u" or " : u", ");
        text += names[static_cast<size_t>(confidence.InPlay[i])];
    }
    return text;
}

}  // namespace quillprint
