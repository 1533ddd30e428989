// A second opinion beside the phrase ranking: Cosine Delta, the classic
// method of frequent words. The most frequent words of all the candidates'
// samples form a profile; each candidate and the disputed text are described
// by their relative frequencies of those words as z-scores over the
// candidates' profiles, and the candidate whose profile points the most the
// same way as the disputed text's (cosine similarity) ranks first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/Text.h"

namespace quillprint {

// The profile's length.
inline constexpr size_t kDeltaWords = 500;

struct TDeltaRanking {
    // Per candidate, in the order given: the cosine similarity of its
    // profile to the disputed text's, from -1 to 1 (0 when either is flat).
    std::vector<double> Similarity;
    // The candidate ranked first; -1 without candidates.
    int32_t First = -1;
};

// Cosine Delta of `test` against `candidates`, all given as the engine's
// words (split and normalised as the engine does), over the `profileWords`
// most frequent words of the candidates together (ties: the word first in
// code-unit order). A word whose frequency is the same in every candidate
// says nothing and is left out.
TDeltaRanking CosineDelta(const std::vector<TWordSpan>& candidates, TWordSpan test, size_t profileWords = kDeltaWords);

// "Cosine Delta: A, B, C", the candidates by similarity, then " (agrees)" or
// " (disagrees: the phrases rank B first)" against `phraseFirst`.
std::u16string SecondOpinionText(const TDeltaRanking& ranking, const std::vector<std::u16string>& names,
                                 int32_t phraseFirst);

}  // namespace quillprint
