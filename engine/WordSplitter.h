// Turns a text into its word list.
#pragma once

#include <span>
#include <stop_token>
#include <string>

#include "engine/Text.h"

namespace quillprint {

class TLanguageWords;

// Separators are the code units 1 to 32; code 0 ends the text. A word that
// begins with a double quote is a quoted item: it runs to the next lone
// double quote (a doubled quote stands for one), may hold separators and may
// be empty; unclosed, it takes the rest of the text.
TWordList SplitWords(std::u16string_view text);

// Appends the words of `text` to `words` (the same rule as SplitWords);
// with `starts`, also the index in `text` where each word begins. With
// `language`, each word that is no quoted item is cut further by it.
void AppendWords(std::u16string_view text, TWordList& words, std::vector<size_t>* starts = nullptr,
                 TLanguageWords* language = nullptr);

// How many words SplitWords makes of `text`, without making them.
size_t CountSplitWords(std::u16string_view text);

// The words SplitWords makes of `text`, each written over one of `slots` in
// order; `slots` must hold exactly CountSplitWords(text) strings (std::logic_error
// otherwise). Throws TCalculationCancelled once `stop` is requested.
void SplitWordsInto(std::u16string_view text, std::span<std::u16string> slots, const std::stop_token& stop = {});

// How texts are split into words: at separators only, or also by language,
// where the runs of scripts written without spaces inside each word are cut
// into the words of the locale's dictionaries (see LanguageWords.h).
enum class TWordSplitting { Spaces, Language };

// A splitting and the locale it works for. Its methods are const and keep no
// state, so one splitter may serve any number of threads at once.
class TWordSplitter {
public:
    TWordSplitter() = default;
    TWordSplitter(TWordSplitting splitting, std::string localeName)
        : FSplitting(splitting), FLocaleName(std::move(localeName))
    {
    }

    TWordSplitting Splitting() const { return FSplitting; }
    const std::string& LocaleName() const { return FLocaleName; }

    TWordList Split(std::u16string_view text) const;
    void Append(std::u16string_view text, TWordList& words, std::vector<size_t>* starts = nullptr) const;

private:
    TWordSplitting FSplitting = TWordSplitting::Spaces;
    std::string FLocaleName;
};

}  // namespace quillprint
