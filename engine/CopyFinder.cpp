#include "engine/CopyFinder.h"

#include <algorithm>
#include <limits>

#include "engine/Cancellation.h"
#include "engine/Collation.h"
#include "engine/JoinedWords.h"

namespace quillprint {
namespace {

// For each word of the test text: the longest stretch from it that one
// candidate holds, and where that stretch begins in the sequence.
struct TMatches {
    std::vector<int32_t> Length;
    std::vector<int32_t> Source;
};

// Two sweeps over the suffix array: the longest common prefix of a test
// suffix with any suffix of `candidate` is the one with the nearest such
// suffix above it or below it, the minimum of the LCP values in between.
TMatches MatchesWith(const TJoinedWords& joined, int32_t candidate, int32_t testList, int32_t testWords,
                     const std::stop_token& stop)
{
    TMatches matches{std::vector<int32_t>(static_cast<size_t>(testWords), 0),
                     std::vector<int32_t>(static_cast<size_t>(testWords), -1)};
    const std::vector<int32_t>& sa = joined.SuffixArray;
    const std::vector<int32_t>& lcp = joined.Lcp;
    const int32_t testBegin = joined.Begin(testList);
    const auto n = static_cast<int32_t>(sa.size());
    constexpr int32_t kUnbounded = std::numeric_limits<int32_t>::max();

    const auto visit = [&](int32_t r, int32_t& run, int32_t& source) {
        const int32_t position = sa[static_cast<size_t>(r)];
        const int32_t list = joined.ListOf(position);
        if (list == candidate) {
            run = kUnbounded;
            source = position;
        } else if (list == testList && source >= 0 && run > 0) {
            const auto j = static_cast<size_t>(position - testBegin);
            // Ties go to the earlier place in the candidate's text.
            if (run > matches.Length[j] || (run == matches.Length[j] && source < matches.Source[j])) {
                matches.Length[j] = run;
                matches.Source[j] = source;
            }
        }
    };
    int32_t run = 0;
    int32_t source = -1;
    for (int32_t r = 0; r < n; ++r) {
        CheckEvery64K(stop, static_cast<size_t>(r));
        if (r > 0)
            run = std::min(run, lcp[static_cast<size_t>(r)]);
        visit(r, run, source);
    }
    run = 0;
    source = -1;
    for (int32_t r = n - 1; r >= 0; --r) {
        CheckEvery64K(stop, static_cast<size_t>(r));
        if (r + 1 < n)
            run = std::min(run, lcp[static_cast<size_t>(r) + 1]);
        visit(r, run, source);
    }
    return matches;
}

}  // namespace

std::vector<TCopiedPassage> FindCopiedPassages(const std::vector<TWordSpan>& candidates, TWordSpan test,
                                               const TCollation& collation, int32_t minWords,
                                               const std::stop_token& stop)
{
    minWords = std::max(minWords, 1);
    std::vector<TCopiedPassage> passages;
    const auto testWords = static_cast<int32_t>(test.size());
    if (candidates.empty() || testWords < minWords)
        return passages;

    std::vector<TJoinedWords::TStretch> lists;
    for (const TWordSpan candidate : candidates)
        lists.emplace_back(candidate);
    lists.emplace_back(test);
    const auto testList = static_cast<int32_t>(candidates.size());
    // Collation ranks: words the collation finds equal share an id.
    const TJoinedWords joined(
        lists, [&](const std::vector<std::u16string_view>& words) { return collation.Ranks(words, stop); }, stop);

    for (int32_t c = 0; c < testList; ++c) {
        if (static_cast<int32_t>(candidates[static_cast<size_t>(c)].size()) < minWords)
            continue;
        const TMatches matches = MatchesWith(joined, c, testList, testWords, stop);
        for (int32_t j = 0; j < testWords; ++j) {
            const int32_t length = matches.Length[static_cast<size_t>(j)];
            // A match one word earlier that covers this one's end holds it.
            if (length < minWords || (j > 0 && matches.Length[static_cast<size_t>(j) - 1] > length))
                continue;
            passages.push_back({c, matches.Source[static_cast<size_t>(j)] - joined.Begin(c), j, length});
        }
    }
    std::sort(passages.begin(), passages.end(), [](const TCopiedPassage& a, const TCopiedPassage& b) {
        return a.TestStart != b.TestStart ? a.TestStart < b.TestStart : a.Candidate < b.Candidate;
    });
    return passages;
}

std::vector<uint8_t> CoveredWords(const std::vector<TCopiedPassage>& passages, int32_t words)
{
    // Marks each word once, however much the passages overlap.
    std::vector<int32_t> coverEnd(static_cast<size_t>(std::max(words, 0)), 0);
    for (const TCopiedPassage& passage : passages) {
        if (passage.TestStart >= 0 && passage.TestStart < words) {
            int32_t& end = coverEnd[static_cast<size_t>(passage.TestStart)];
            end = std::max(end, std::min(passage.TestStart + passage.Words, words));
        }
    }
    std::vector<uint8_t> covered(coverEnd.size(), 0);
    int32_t until = 0;
    for (int32_t j = 0; j < words; ++j) {
        until = std::max(until, coverEnd[static_cast<size_t>(j)]);
        covered[static_cast<size_t>(j)] = j < until;
    }
    return covered;
}

}  // namespace quillprint
