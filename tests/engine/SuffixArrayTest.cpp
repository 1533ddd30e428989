// The suffix array and LCP array against sorting the suffixes directly.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

#include "engine/SuffixArray.h"

namespace quillprint::testing {
namespace {

std::vector<int32_t> SortedSuffixes(const std::vector<int32_t>& text) {
    std::vector<int32_t> order(text.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
        return std::lexicographical_compare(text.begin() + a, text.end(), text.begin() + b, text.end());
    });
    return order;
}

int32_t CommonPrefix(const std::vector<int32_t>& text, int32_t a, int32_t b) {
    int32_t length = 0;
    while (a + length < static_cast<int32_t>(text.size()) && b + length < static_cast<int32_t>(text.size()) &&
           text[a + length] == text[b + length])
        ++length;
    return length;
}

void ExpectMatchesDirectSort(const std::vector<int32_t>& text, int32_t alphabet) {
    const std::vector<int32_t> sa = BuildSuffixArray(text, alphabet);
    ASSERT_EQ(sa, SortedSuffixes(text));
    const std::vector<int32_t> lcp = BuildLcpArray(text, sa);
    ASSERT_EQ(lcp.size(), text.size());
    for (size_t r = 0; r < sa.size(); ++r)
        ASSERT_EQ(lcp[r], r == 0 ? 0 : CommonPrefix(text, sa[r - 1], sa[r])) << "rank " << r;
}

TEST(SuffixArray, SmallAndDegenerateTexts) {
    const std::vector<std::vector<int32_t>> texts = {
        {}, {0}, {1, 0}, {0, 1}, {0, 0}, {0, 0, 0, 0, 0, 0, 0}, {2, 1, 0, 2, 1, 0, 2, 1, 0}, {1, 0, 1, 0, 1, 0, 1},
    };
    for (const auto& text : texts) ExpectMatchesDirectSort(text, 3);
}

// Random texts over alphabets from 1 to 40 values, repeats planted so that
// the recursion of the induced sort runs several levels deep.
TEST(SuffixArray, RandomTextsWithLongRepeats) {
    std::mt19937 random(14);
    for (int round = 0; round < 300; ++round) {
        const int32_t alphabet = 1 + static_cast<int32_t>(random() % 40);
        std::vector<int32_t> text(1 + random() % 200);
        for (int32_t& value : text) value = static_cast<int32_t>(random() % static_cast<uint32_t>(alphabet));
        if (round % 2 == 0) {
            const std::vector<int32_t> copy = text;
            text.insert(text.end(), copy.begin(), copy.end());
            text.insert(text.end(), copy.begin(), copy.begin() + static_cast<std::ptrdiff_t>(copy.size() / 2));
        }
        ExpectMatchesDirectSort(text, alphabet);
        if (HasFatalFailure()) return;
    }
}

}  // namespace
}  // namespace quillprint::testing
