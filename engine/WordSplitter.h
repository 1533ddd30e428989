// Turns a text into its word list.
#pragma once

#include "engine/Text.h"

namespace quillprint {

// Separators are the code units 1 to 32; code 0 ends the text. A word that
// begins with a double quote is a quoted item: it runs to the next lone
// double quote (a doubled quote stands for one), may hold separators and may
// be empty; unclosed, it takes the rest of the text.
TWordList SplitWords(std::u16string_view text);

// Appends the words of `text` to `words` (the same rule as SplitWords);
// with `starts`, also the index in `text` where each word begins.
void AppendWords(std::u16string_view text, TWordList& words, std::vector<size_t>* starts = nullptr);

}  // namespace quillprint
