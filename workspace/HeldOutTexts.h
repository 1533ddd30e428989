// The texts that cross-validation holds out, one check each: every known text
// of every candidate in turn, with the rest of that candidate's texts left as
// its sample. Texts from one source file are held out together, so nothing of
// the held-out file stays in any sample. A candidate with a single text has
// it cut into consecutive parts, each held out in turn.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/Text.h"
#include "workspace/BalancedSample.h"

namespace quillprint {

// The parts a candidate's only text is cut into.
inline constexpr int32_t kSingleTextParts = 5;

struct THeldOutText {
    size_t Candidate = 0;    // whose text it is, in engine order
    std::u16string Label;    // the text's label, or "label (part k of 5)"
    TLines Lines;            // what is held out
    TCandidateLines Sample;  // the candidate without it
};

// Every held-out text of every candidate, candidate by candidate in order,
// each candidate's texts in order. A candidate whose texts all come from one
// file is cut into kSingleTextParts parts of about equal numbers of words; a
// candidate with no words gives no check.
std::vector<THeldOutText> HeldOutTexts(const std::vector<TCandidateLines>& candidates);

// Words as cut here and counted for excerpts: runs of characters other than
// the separators (codes 1 to 32), the way the engine first splits a text.
int64_t CountWords(const TLines& lines);

// The `words` consecutive words of `lines` starting at word `first`, as
// lines (line breaks kept). All that remains when fewer are left.
TLines WordRange(const TLines& lines, int64_t first, int64_t words);

// Every line of `lines` with the words [first, first + words) taken out.
TLines WithoutWordRange(const TLines& lines, int64_t first, int64_t words);

}  // namespace quillprint
