// Suffix array and longest-common-prefix array of a sequence of integers,
// both in linear time.
#pragma once

#include <cstdint>
#include <stop_token>
#include <vector>

namespace quillprint {

// The start positions of the suffixes of `text` in ascending order, by
// induced sorting (SA-IS). Every value of `text` lies in [0, alphabetSize).
// Both builders end with TCalculationCancelled soon after a stop request.
std::vector<int32_t> BuildSuffixArray(const std::vector<int32_t>& text, int32_t alphabetSize,
                                      const std::stop_token& stop = {});

// lcp[r] is the length of the common prefix of the suffixes at ranks r - 1
// and r; lcp[0] is 0 (Kasai's algorithm).
std::vector<int32_t> BuildLcpArray(const std::vector<int32_t>& text, const std::vector<int32_t>& suffixArray,
                                   const std::stop_token& stop = {});

}  // namespace quillprint
