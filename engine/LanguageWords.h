// Words of the scripts written without spaces (Han, Hiragana, Katakana, Thai,
// Lao, Khmer, Myanmar), found by ICU's dictionary-based word break iterator.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <unicode/uversion.h>

#include "engine/Text.h"

U_NAMESPACE_BEGIN
class BreakIterator;
U_NAMESPACE_END

namespace quillprint {

// Whether `c` belongs to one of those scripts, by its script extensions, so
// that marks they share (the long vowel mark "ー", the ideographic full stop)
// stay inside their runs.
bool IsScriptWithoutSpaces(char32_t c);

// Cuts the runs of those scripts inside a word. One object serves one thread;
// its break iterator is made on first need.
class TLanguageWords {
public:
    explicit TLanguageWords(std::string localeName);
    ~TLanguageWords();
    TLanguageWords(const TLanguageWords&) = delete;
    TLanguageWords& operator=(const TLanguageWords&) = delete;

    // Appends the pieces of `word` (which holds no separator) to `words`:
    // each run of those scripts cut at the iterator's word boundaries, the
    // text between runs kept whole. With `starts`, also where each piece
    // begins, counted from `start`, the index of `word` in its text.
    void AppendPieces(std::u16string_view word, size_t start, TWordList& words, std::vector<size_t>* starts);

private:
    void AppendRun(std::u16string_view run, size_t start, TWordList& words, std::vector<size_t>* starts);

    std::string FLocaleName;
    std::unique_ptr<icu::BreakIterator> FIterator;
};

}  // namespace quillprint
