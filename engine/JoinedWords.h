// Several stretches of words as one sequence of integer word ids for a suffix array
// (internal to the copy finder and the phrase budget report).
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <stop_token>
#include <string_view>
#include <vector>

#include "engine/Text.h"

namespace quillprint {

class TJoinedWords {
public:
    // Takes the distinct words (identical code units) and returns one id
    // per word, from 0 up: equal ids for words that are to count as the same.
    using TIdsOf = std::function<std::vector<int32_t>(const std::vector<std::u16string_view>&)>;

    using TStretch = std::span<const std::u16string>;

    // Each stretch is followed by a separator of its own, so no common
    // prefix ever runs from one stretch into the next.
    // A stop request ends the construction with TCalculationCancelled.
    TJoinedWords(const std::vector<TStretch>& lists, const TIdsOf& idsOf, const std::stop_token& stop = {});

    const std::vector<int32_t>& Sequence() const { return FSequence; }
    int32_t AlphabetSize() const { return FAlphabetSize; }
    // Which stretch a sequence position belongs to (-1 for a separator).
    int32_t ListOf(int32_t position) const { return FListOf[static_cast<size_t>(position)]; }
    // Where stretch `list` begins in the sequence.
    int32_t Begin(int32_t list) const { return FBegin[static_cast<size_t>(list)]; }

    std::vector<int32_t> SuffixArray;
    std::vector<int32_t> Lcp;

private:
    std::vector<int32_t> FSequence;
    std::vector<int32_t> FListOf;
    std::vector<int32_t> FBegin;
    int32_t FAlphabetSize = 0;
};

}  // namespace quillprint
