// Verbatim copies between the test text and the candidates' texts, found
// through a suffix array over the word ids of all texts together.
#pragma once

#include <cstdint>
#include <stop_token>
#include <vector>

#include "engine/Text.h"

namespace quillprint {

class TCollation;

// Shortest passage, in words, that counts as a copy unless the caller says
// otherwise.
inline constexpr int32_t kDefaultCopyWords = 50;

// A stretch of the test text that a candidate's text holds word for word.
struct TCopiedPassage {
    int32_t Candidate = 0;       // index in the list of candidates
    int32_t CandidateStart = 0;  // first word, in that candidate's word list
    int32_t TestStart = 0;       // first word, in the test text's word list
    int32_t Words = 0;

    bool operator==(const TCopiedPassage&) const = default;
};

// Every passage of at least `minWords` words (at least 1) that `test` shares
// with one of `candidates`, words compared by the collation (equal when it
// finds them equal: letter case aside). A passage is as long as the match
// goes on both sides; one that lies inside a longer passage with the same
// candidate is not listed, overlapping ones are. Sorted by test position,
// then candidate. Time and memory are linear in the number of words (plus
// one pass over the test text's matches per candidate). A stop request ends
// the search with TCalculationCancelled.
std::vector<TCopiedPassage> FindCopiedPassages(const std::vector<TWordSpan>& candidates, TWordSpan test,
                                               const TCollation& collation, int32_t minWords,
                                               const std::stop_token& stop = {});

// Per word of a text of `words` words: 1 when some passage covers it.
std::vector<uint8_t> CoveredWords(const std::vector<TCopiedPassage>& passages, int32_t words);

}  // namespace quillprint
