#include "engine/SuffixArray.h"

#include <algorithm>

#include "engine/Cancellation.h"

namespace quillprint {
namespace {

// SA-IS: classify every suffix as S (smaller than the next) or L, sort the
// leftmost-S suffixes by sorting their substrings through one induced pass,
// name them, recurse when names repeat, and induce the whole order from the
// sorted leftmost-S suffixes.
std::vector<int32_t> SaIs(const std::vector<int32_t>& s, int32_t upper, const std::stop_token& stop)
{
    const auto n = static_cast<int32_t>(s.size());
    if (n == 0)
        return {};
    if (n == 1)
        return {0};
    if (n == 2)
        return s[0] < s[1] ? std::vector<int32_t>{0, 1} : std::vector<int32_t>{1, 0};

    std::vector<int32_t> sa(static_cast<size_t>(n));
    std::vector<uint8_t> isS(static_cast<size_t>(n), 0);
    for (int32_t i = n - 2; i >= 0; --i) {
        CheckEvery64K(stop, static_cast<size_t>(i));
        isS[i] = s[i] == s[i + 1] ? isS[i + 1] : (s[i] < s[i + 1]);
    }

    // Bucket starts of the S and the L suffixes of every value.
    std::vector<int32_t> sumL(static_cast<size_t>(upper) + 1, 0);
    std::vector<int32_t> sumS(static_cast<size_t>(upper) + 1, 0);
    for (int32_t i = 0; i < n; ++i) {
        if (!isS[i])
            ++sumS[s[i]];
        else
            ++sumL[s[i] + 1];
    }
    for (int32_t c = 0; c <= upper; ++c) {
        sumS[c] += sumL[c];
        if (c < upper)
            sumL[c + 1] += sumS[c];
    }

    const auto induce = [&](const std::vector<int32_t>& lms) {
        std::fill(sa.begin(), sa.end(), -1);
        std::vector<int32_t> bucket(sumS);
        for (const int32_t d : lms) {
            if (d != n)
                sa[bucket[s[d]]++] = d;
        }
        bucket = sumL;
        sa[bucket[s[n - 1]]++] = n - 1;
        for (int32_t i = 0; i < n; ++i) {
            CheckEvery64K(stop, static_cast<size_t>(i));
            const int32_t v = sa[i];
            if (v >= 1 && !isS[v - 1])
                sa[bucket[s[v - 1]]++] = v - 1;
        }
        bucket = sumL;
        for (int32_t i = n - 1; i >= 0; --i) {
            CheckEvery64K(stop, static_cast<size_t>(i));
            const int32_t v = sa[i];
            if (v >= 1 && isS[v - 1])
                sa[--bucket[s[v - 1] + 1]] = v - 1;
        }
    };

    std::vector<int32_t> lmsIndex(static_cast<size_t>(n) + 1, -1);
    std::vector<int32_t> lms;
    for (int32_t i = 1; i < n; ++i) {
        if (!isS[i - 1] && isS[i]) {
            lmsIndex[i] = static_cast<int32_t>(lms.size());
            lms.push_back(i);
        }
    }
    const auto m = static_cast<int32_t>(lms.size());
    induce(lms);
    if (m == 0)
        return sa;

    std::vector<int32_t> sortedLms;
    sortedLms.reserve(static_cast<size_t>(m));
    for (const int32_t v : sa) {
        if (lmsIndex[v] != -1)
            sortedLms.push_back(v);
    }
    // Name the leftmost-S substrings; equal substrings share a name.
    std::vector<int32_t> reduced(static_cast<size_t>(m));
    int32_t names = 0;
    reduced[lmsIndex[sortedLms[0]]] = 0;
    for (int32_t i = 1; i < m; ++i) {
        CheckEvery64K(stop, static_cast<size_t>(i));
        int32_t l = sortedLms[i - 1];
        int32_t r = sortedLms[i];
        const int32_t endL = lmsIndex[l] + 1 < m ? lms[lmsIndex[l] + 1] : n;
        const int32_t endR = lmsIndex[r] + 1 < m ? lms[lmsIndex[r] + 1] : n;
        bool same = true;
        if (endL - l != endR - r) {
            same = false;
        } else {
            while (l < endL && s[l] == s[r]) {
                ++l;
                ++r;
            }
            if (l == n || s[l] != s[r])
                same = false;
        }
        if (!same)
            ++names;
        reduced[lmsIndex[sortedLms[i]]] = names;
    }
    const std::vector<int32_t> reducedSa = SaIs(reduced, names, stop);
    for (int32_t i = 0; i < m; ++i)
        sortedLms[i] = lms[reducedSa[i]];
    induce(sortedLms);
    return sa;
}

}  // namespace

std::vector<int32_t> BuildSuffixArray(const std::vector<int32_t>& text, int32_t alphabetSize,
                                      const std::stop_token& stop)
{
    return SaIs(text, std::max(alphabetSize - 1, 0), stop);
}

std::vector<int32_t> BuildLcpArray(const std::vector<int32_t>& text, const std::vector<int32_t>& suffixArray,
                                   const std::stop_token& stop)
{
    const size_t n = text.size();
    std::vector<int32_t> rank(n);
    for (size_t r = 0; r < n; ++r)
        rank[static_cast<size_t>(suffixArray[r])] = static_cast<int32_t>(r);
    std::vector<int32_t> lcp(n, 0);
    size_t h = 0;
    for (size_t i = 0; i < n; ++i) {
        CheckEvery64K(stop, i);
        if (h > 0)
            --h;
        const auto r = static_cast<size_t>(rank[i]);
        if (r == 0) {
            h = 0;
            continue;
        }
        const auto j = static_cast<size_t>(suffixArray[r - 1]);
        while (i + h < n && j + h < n && text[i + h] == text[j + h])
            ++h;
        lcp[r] = static_cast<int32_t>(h);
    }
    return lcp;
}

}  // namespace quillprint
