// Warnings that the texts are too short for an attribution to be trusted:
// the usual rules of thumb say about 1,500 words of disputed text and 2,500
// words of samples per candidate.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillprint {

inline constexpr int64_t kShortDisputedWords = 1500;
inline constexpr int64_t kShortSampleWords = 2500;

// One sentence per short text: the disputed text first, then each candidate
// whose samples are short, in the order given. Empty when all are long enough.
std::vector<std::u16string> LengthWarnings(int64_t disputedWords, const std::vector<std::u16string>& names,
                                           const std::vector<int64_t>& sampleWords);

}  // namespace quillprint
