// The level-by-level search for repeated word sequences (internal).
#pragma once

#include <stop_token>

namespace quillprint {

class TWordsAll;
class TQuillprint;

// Fills the corpus's sorted word list, records every repeated word sequence
// in discovery order in the corpus's phrase list and in the lists of the
// authors that hold it. The corpus's start list must be sorted. Once `stop`
// is requested, a search in groups ends early and records nothing.
void ExtractPhrases(TWordsAll& corpus, TQuillprint& engine, std::stop_token stop = {});

}  // namespace quillprint
