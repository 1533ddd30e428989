// A deliberately plain implementation of the repeated-phrase extraction:
// phrase strings are built word by word and filed one by one into sorted
// vectors. It is slow on large inputs and exists only to check the engine's
// fast extraction against it, case by case.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "engine/Collation.h"
#include "engine/Text.h"

namespace quillprint::testing {

struct TLiteralPhrase {
    std::u16string Value;
    int32_t CountWords = 0;
    int32_t CountInstances = 0;
    std::vector<int32_t> AuthorsCounts;
    int32_t Unique = -1;
    int32_t CountAuthors = 0;
    bool Valid = true;
};

struct TLiteralResult {
    // Every phrase record, in discovery order; the lists below point here.
    std::deque<TLiteralPhrase> Records;
    // The combined corpus's final list: valid phrases in phrase order.
    std::vector<const TLiteralPhrase*> Phrases;
    // Per author: every phrase with an instance in its text, discovery order.
    std::vector<std::vector<const TLiteralPhrase*>> AuthorPhrases;
    // Corpus positions of the sorted word list, in collation order.
    std::vector<int32_t> WordsAlphabetic;
};

// Runs the whole phrase pass on the authors' word lists (already normalised
// and split; the last one is the test author).
TLiteralResult ExtractPhrasesLiterally(const std::vector<TWordList>& authorWords,
                                       const TCollation& collation);

// The partition sort by phrase order (more words, then more instances first),
// on the literal records.
void PartitionSortLiterally(std::vector<TLiteralPhrase*>& phrases);

}  // namespace quillprint::testing
