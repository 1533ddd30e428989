// Phrase order, its partition sort and the containment filter.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/ParallelFor.h"
#include "engine/Phrase.h"

namespace quillprint {
class TCancellation;
}

namespace quillprint {

// Negative when `left` comes first: more words first, then more instances.
int32_t ComparePhrases(const TPhrase& left, const TPhrase& right);

// Sorts by ComparePhrases with the classic middle-pivot partition sort. It is
// not stable: a, b, c, d, e that tie come out as d, e, c, a, b.
// `cancellation`, when given, is asked once per partition. With a runner,
// the parts of the first partitions are sorted side by side, with the same
// result.
void PartitionSortPhrases(std::vector<TPhrase*>& phrases, TCancellation* cancellation = nullptr,
                          const TParallelFor& runner = {});

// True when Value() of `inner` occurs in Value() of `outer` at any code unit
// position; an empty text never occurs.
bool PhraseOccursInside(const TPhrase& inner, const TPhrase& outer);

// True when " " + Value() of `inner` + " " occurs in " " + Value() of
// `outer` + " ": the inner text is a run of whole words (blank-free pieces)
// of the outer one. Compares the corpus words in place, building no text.
bool PhraseOccursInsideAsWords(const TPhrase& inner, const TPhrase& outer);

// The signature CharMask() of a text.
uint64_t CharMaskOf(std::u16string_view text);

// Over a list in phrase order: a phrase used by exactly two authors discards
// each of the next 1000 phrases used by exactly two authors whose text occurs
// inside its own. Discarded phrases get Valid false and discard nothing.
// `cancellation`, when given, is asked every few outer phrases. With a
// runner, the window checks are made side by side, with the same result.
void ApplyContainmentFilter(const std::vector<TPhrase*>& phrases, TCancellation* cancellation = nullptr,
                            const TParallelFor& runner = {});

}  // namespace quillprint
