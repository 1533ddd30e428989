#include "engine/PhraseBudgetReport.h"

#include <algorithm>
#include <limits>
#include <span>

#include "engine/JoinedWords.h"
#include "engine/Quillprint.h"
#include "engine/ScoreFormat.h"

namespace quillprint {
namespace {

constexpr int32_t kUnbounded = std::numeric_limits<int32_t>::max();

// For every position, the longest stretch from it that also begins at an
// earlier position, and that earlier position. The earlier suffix with the
// longest common prefix is the nearest one above or below in the suffix
// array that starts earlier; a stack of ever earlier starts finds it.
void LongestEarlierMatches(const TJoinedWords& joined, std::vector<int32_t>& length, std::vector<int32_t>& source)
{
    const std::vector<int32_t>& sa = joined.SuffixArray;
    const std::vector<int32_t>& lcp = joined.Lcp;
    const auto n = static_cast<int32_t>(sa.size());
    length.assign(static_cast<size_t>(n), 0);
    source.assign(static_cast<size_t>(n), -1);
    struct TEntry {
        int32_t Position;
        int32_t Run;  // common prefix with the entry above it, or with the current suffix
    };
    std::vector<TEntry> stack;
    const auto sweep = [&](int32_t r, int32_t lcpToPrevious) {
        if (!stack.empty())
            stack.back().Run = std::min(stack.back().Run, lcpToPrevious);
        const int32_t position = sa[static_cast<size_t>(r)];
        while (!stack.empty() && stack.back().Position > position) {
            const int32_t run = stack.back().Run;
            stack.pop_back();
            if (!stack.empty())
                stack.back().Run = std::min(stack.back().Run, run);
        }
        if (!stack.empty()) {
            const TEntry& earlier = stack.back();
            const auto p = static_cast<size_t>(position);
            if (earlier.Run > length[p] || (earlier.Run == length[p] && earlier.Position < source[p])) {
                length[p] = earlier.Run;
                source[p] = earlier.Position;
            }
        }
        stack.push_back({position, kUnbounded});
    };
    for (int32_t r = 0; r < n; ++r)
        sweep(r, r > 0 ? lcp[static_cast<size_t>(r)] : 0);
    stack.clear();
    for (int32_t r = n - 1; r >= 0; --r)
        sweep(r, r + 1 < n ? lcp[static_cast<size_t>(r) + 1] : 0);
}

// Identical words share an id: the phrase search groups by identity.
std::vector<int32_t> IdentityIds(const std::vector<std::u16string_view>& words)
{
    std::vector<int32_t> ids(words.size());
    for (size_t i = 0; i < words.size(); ++i)
        ids[i] = static_cast<int32_t>(i);
    return ids;
}

// The corpus cut before every position marked in `cut`, without the words
// marked in `removed` (which cut too).
std::vector<TJoinedWords::TStretch> Stretches(const TWordList& corpus, const std::vector<uint8_t>& cut,
                                              const std::vector<uint8_t>& removed)
{
    std::vector<TJoinedWords::TStretch> stretches;
    const std::span<const std::u16string> all(corpus);
    size_t begin = 0;
    const auto close = [&](size_t end) {
        if (end > begin)
            stretches.push_back(all.subspan(begin, end - begin));
    };
    for (size_t p = 0; p < corpus.size(); ++p) {
        if (!removed.empty() && removed[p]) {
            close(p);
            begin = p + 1;
        } else if (cut[p]) {
            close(p);
            begin = p;
        }
    }
    close(corpus.size());
    return stretches;
}

// A phrase is a string repeated within stretches: one per rise of the LCP
// from one rank to the next; each suffix is an instance of as many phrases
// as the longer of its two LCPs.
void CountPhrases(const TJoinedWords& joined, int64_t& phrases, int64_t& instances)
{
    const std::vector<int32_t>& lcp = joined.Lcp;
    const auto n = static_cast<int32_t>(lcp.size());
    phrases = 0;
    instances = 0;
    for (int32_t r = 0; r < n; ++r) {
        const int32_t here = lcp[static_cast<size_t>(r)];
        const int32_t before = r > 0 ? lcp[static_cast<size_t>(r) - 1] : 0;
        const int32_t after = r + 1 < n ? lcp[static_cast<size_t>(r) + 1] : 0;
        phrases += std::max(0, here - before);
        instances += std::max(here, after);
    }
}

const TRepeatedPassage* LongestPassage(const TPhraseBudgetReport& report)
{
    const TRepeatedPassage* longest = nullptr;
    for (const TRepeatedPassage& passage : report.Passages) {
        if (!longest || passage.Words > longest->Words)
            longest = &passage;
    }
    return longest;
}

// A number for the user, grouped as the wording's locale writes numbers.
std::string GroupThousands(int64_t value, const TRefusalWording& wording)
{
    return FormatCount(value, wording.LocaleName);
}

std::string Quoted(const TRefusalWording& wording, int32_t author)
{
    const std::u16string name = author >= 0 && author < static_cast<int32_t>(wording.Names.size())
        ? wording.Names[static_cast<size_t>(author)]
        : std::u16string();
    return "\"" + ToUtf8(name) + "\"";
}

// "The text "Unknown" and the texts of "Hamilton" share a passage of 5,120
// words", with the two places in brackets when known.
std::string WhoShares(const TRepeatedPassage& passage, const TRefusalWording& wording)
{
    const int32_t test = static_cast<int32_t>(wording.Names.size()) - 1;
    const int32_t a = passage.Author;
    const int32_t b = passage.SourceAuthor;
    const std::string words = GroupThousands(passage.Words, wording);
    const std::pair<int32_t, int32_t> here{a, passage.Start};
    const std::pair<int32_t, int32_t> earlier{b, passage.SourceStart};
    // Places in the order the sentence names the authors.
    std::pair<int32_t, int32_t> first = earlier;
    std::pair<int32_t, int32_t> second = here;
    std::string what;
    if (a == b) {
        what = "The texts of " + Quoted(wording, a) + " repeat a passage of " + words + " words";
    } else if (a == test || b == test) {
        what = "The text " + Quoted(wording, test) + " and the texts of " + Quoted(wording, a == test ? b : a)
            + " share a passage of " + words + " words";
        if (a == test)
            std::swap(first, second);
    } else {
        what = "The texts of " + Quoted(wording, std::min(a, b)) + " and " + Quoted(wording, std::max(a, b))
            + " share a passage of " + words + " words";
        if (a < b)
            std::swap(first, second);
    }
    if (wording.PlaceOf) {
        const std::string placeA = wording.PlaceOf(first.first, first.second);
        const std::string placeB = wording.PlaceOf(second.first, second.second);
        if (!placeA.empty() && !placeB.empty())
            what += " (" + placeA + "; " + placeB + ")";
    }
    return what;
}

// "11,250,000 phrases, more than the 10,000,000", or the same for instances.
std::string WhatExceeds(int64_t phrases, int64_t instances, const TPhraseBudget& budget,
                        const TRefusalWording& wording)
{
    if (phrases > budget.MaxPhrases)
        return GroupThousands(phrases, wording) + " phrases, more than the "
            + GroupThousands(budget.MaxPhrases, wording);
    return GroupThousands(instances, wording) + " phrase instances, more than the "
        + GroupThousands(budget.MaxInstances, wording);
}

}  // namespace

TPhraseBudgetReport ReportRepeats(const TWordList& corpus, const std::vector<int32_t>& stretchStarts, int32_t minWords,
                                  const std::stop_token& stop)
{
    TPhraseBudgetReport report;
    report.MinWords = minWords;
    const auto words = static_cast<int32_t>(corpus.size());
    std::vector<uint8_t> cut(static_cast<size_t>(words) + 1, 0);
    for (const int32_t start : stretchStarts) {
        if (start >= 0 && start <= words)
            cut[static_cast<size_t>(start)] = 1;
    }
    const TJoinedWords joined(Stretches(corpus, cut, {}), IdentityIds, stop);
    CountPhrases(joined, report.Phrases, report.Instances);
    report.RemainingPhrases = report.Phrases;
    report.RemainingInstances = report.Instances;
    if (minWords < 1)
        return report;

    std::vector<int32_t> length;
    std::vector<int32_t> source;
    LongestEarlierMatches(joined, length, source);
    // Back from sequence positions (one separator after each stretch) to
    // corpus positions.
    const auto corpusPosition = [&](int32_t position) { return position - joined.ListOf(position); };
    std::vector<uint8_t> removed(static_cast<size_t>(words), 0);
    int32_t removedUntil = 0;
    for (int32_t p = 0; p < static_cast<int32_t>(length.size()); ++p) {
        const int32_t passageWords = length[static_cast<size_t>(p)];
        if (passageWords < report.MinWords || (p > 0 && length[static_cast<size_t>(p) - 1] > passageWords))
            continue;
        const int32_t start = corpusPosition(p);
        report.Passages.push_back({0, start, 0, corpusPosition(source[static_cast<size_t>(p)]), passageWords});
        for (int32_t q = std::max(start, removedUntil); q < start + passageWords; ++q)
            removed[static_cast<size_t>(q)] = 1;
        removedUntil = std::max(removedUntil, start + passageWords);
    }
    if (!report.Passages.empty()) {
        const TJoinedWords remaining(Stretches(corpus, cut, removed), IdentityIds, stop);
        CountPhrases(remaining, report.RemainingPhrases, report.RemainingInstances);
        const TRepeatedPassage& longest = *LongestPassage(report);
        report.PhrasesWithOnlyLongest = report.Phrases;
        report.InstancesWithOnlyLongest = report.Instances;
        if (report.Passages.size() > 1) {
            std::vector<uint8_t> others = removed;
            std::fill(others.begin() + longest.Start, others.begin() + longest.Start + longest.Words, 0);
            const TJoinedWords onlyLongest(Stretches(corpus, cut, others), IdentityIds, stop);
            CountPhrases(onlyLongest, report.PhrasesWithOnlyLongest, report.InstancesWithOnlyLongest);
        }
        std::fill(removed.begin(), removed.end(), 0);
        std::fill(removed.begin() + longest.Start, removed.begin() + longest.Start + longest.Words, 1);
        const TJoinedWords withoutLongest(Stretches(corpus, cut, removed), IdentityIds, stop);
        CountPhrases(withoutLongest, report.PhrasesWithoutLongest, report.InstancesWithoutLongest);
    }
    return report;
}

std::string DescribeRefusal(const TPhraseBudgetReport& report, const TPhraseBudget& budget,
                            const TRefusalWording& wording)
{
    const bool passagesSuffice = !report.Passages.empty() && report.RemainingPhrases <= budget.MaxPhrases
        && report.RemainingInstances <= budget.MaxInstances;
    if (!passagesSuffice) {
        return "The texts make " + WhatExceeds(report.Phrases, report.Instances, budget, wording)
            + " one calculation can compare, and not through a few long copies: even without passages of "
            + GroupThousands(report.MinWords, wording) + " words or more that repeat others they make "
            + WhatExceeds(report.RemainingPhrases, report.RemainingInstances, budget, wording)
            + ". Calculate with fewer or shorter texts.";
    }
    const int32_t test = static_cast<int32_t>(wording.Names.size()) - 1;
    bool optionHelps = !wording.LeaveOutOption.empty();
    const TRepeatedPassage* longest = LongestPassage(report);
    int64_t total = 0;
    for (const TRepeatedPassage& passage : report.Passages)
        total += passage.Words;
    const auto isCopyOfCandidate = [&](const TRepeatedPassage& passage) {
        return passage.Author == test && passage.SourceAuthor != test;
    };
    const bool longestSuffices =
        report.PhrasesWithoutLongest <= budget.MaxPhrases && report.InstancesWithoutLongest <= budget.MaxInstances;
    const bool longestAlone =
        report.PhrasesWithOnlyLongest > budget.MaxPhrases || report.InstancesWithOnlyLongest > budget.MaxInstances;
    std::string message;
    // One passage past the budget on its own is named alone.
    if (longestSuffices && longestAlone) {
        optionHelps = optionHelps && isCopyOfCandidate(*longest);
        message = WhoShares(*longest, wording)
            + ". Such a long copy cannot be compared phrase by phrase; remove it and calculate again.";
        if (optionHelps)
            message += " Or turn on " + wording.LeaveOutOption + ", which leaves it out of the unknown text.";
        return message;
    }
    const std::string together =
        "The texts repeat " + GroupThousands(static_cast<int64_t>(report.Passages.size()), wording) + " passages of "
        + GroupThousands(report.MinWords, wording) + " words or more, " + GroupThousands(total, wording)
        + " words in all; together they make " + WhatExceeds(report.Phrases, report.Instances, budget, wording)
        + " one calculation can compare.";
    // The longest is within the budget on its own, but the others with it
    // are not: leaving it out is enough.
    if (longestSuffices) {
        optionHelps = optionHelps && isCopyOfCandidate(*longest);
        message = together + " Without the longest they would not: " + WhoShares(*longest, wording)
                  + ". Remove it and calculate again.";
        if (optionHelps)
            message += " Or turn on " + wording.LeaveOutOption + ", which leaves them out of the unknown text.";
        return message;
    }
    optionHelps = optionHelps && std::all_of(report.Passages.begin(), report.Passages.end(), isCopyOfCandidate);
    message =
        together + " The longest: " + WhoShares(*longest, wording) + ". Remove all these passages and calculate again.";
    if (optionHelps)
        message += " Or turn on " + wording.LeaveOutOption + ", which leaves them out of the unknown text.";
    return message;
}

}  // namespace quillprint
