// The level-by-level search for repeated word sequences (internal).
#pragma once

namespace quillprint {

class TWordsAll;
class TQuillprint;

// Fills the corpus's sorted word list, records every repeated word sequence
// in discovery order in the corpus's phrase list and in the lists of the
// authors that hold it. The corpus's start list must be sorted.
void ExtractPhrases(TWordsAll& corpus, TQuillprint& engine);

}  // namespace quillprint
