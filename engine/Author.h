// Author corpora: one author's words, and the combined corpus of all authors.
#pragma once

#include <cstdint>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Phrase.h"
#include "engine/Text.h"

namespace quillprint {

class TQuillprint;
class TPhraseSearch;

// A corpus of words with its name, its phrases and its score.
class TAuthorCustom {
public:
    // Splits `AText` into the word list (no normalisation here).
    TAuthorCustom(std::u16string_view AName, std::u16string_view AText);
    // Takes a word list already split.
    TAuthorCustom(std::u16string_view AName, TWordList AWords);
    virtual ~TAuthorCustom() = default;
    TAuthorCustom(const TAuthorCustom&) = delete;
    TAuthorCustom& operator=(const TAuthorCustom&) = delete;

    virtual bool IsAllWords() const { return false; }

    const std::u16string& Name() const { return FName; }
    int32_t UniqueNum() const { return FUniqueNum; }
    void SetUniqueNum(int32_t value) { FUniqueNum = value; }
    double Koef() const { return FKoef; }
    void SetKoef(double value) { FKoef = value; }

    // The words in text order. An engine's author holds its own list until
    // Detect moves the words into the combined corpus; from then on this is
    // the author's stretch of that corpus, so every word is held once. An
    // author the engine added from a text split at separators holds only
    // that text (normalised) until Detect splits it straight into the
    // corpus: its list is empty until then.
    TWordSpan Text() const { return FInCorpus ? FStretch : TWordSpan(FText); }
    int32_t WordCount() const { return static_cast<int32_t>(Text().size()); }
    // The list the author holds itself, which callers may change (the chat
    // splitter keeps whole lines here); empty once the words are in the
    // combined corpus.
    TWordList& OwnWords() { return FText; }

    // Combined corpus: the valid phrases in phrase order. Author: every phrase
    // with an instance in its text, in the order found (discarded ones too).
    std::vector<TPhrase*>& Phrases() { return FPhrases; }
    const std::vector<TPhrase*>& Phrases() const { return FPhrases; }

    // Positions of the words in collation order (filled by the phrase pass).
    const std::vector<int32_t>& WordsAlphabetic() const { return FWordsAlphabetic; }

    // Puts the phrase list in phrase order (more words, then more instances
    // first) by the partition sort, which does not keep the order of ties.
    void SortPhrases();

    // Has no effect: the record keeps its name, words, phrases and score.
    void Clear() {}

protected:
    friend class TQuillprint;
    friend class TPhraseSearch;
    std::u16string FName;
    TWordList FText;
    // The normalised text still to be split into the combined corpus.
    std::u16string FUnsplit;
    bool FSplitPending = false;
    // The author's words in the combined corpus, once moved there.
    TWordSpan FStretch;
    bool FInCorpus = false;
    std::vector<TPhrase*> FPhrases;
    std::vector<int32_t> FWordsAlphabetic;
    int32_t FUniqueNum = 0;
    double FKoef = 0.0;
};

// A candidate author, the test author "Unknown", or a chat participant.
class TAuthor : public TAuthorCustom {
public:
    using TAuthorCustom::TAuthorCustom;
};

// The words of all authors one after another ("All Words").
class TWordsAll : public TAuthorCustom {
public:
    TWordsAll(std::u16string_view AName, std::u16string_view AText);

    bool IsAllWords() const override { return true; }

    // The words themselves, which the phrases of this corpus point into.
    const TWordList& Words() const { return FText; }

    // Position where each author after the first begins (or, after
    // Summarize, where every author ends).
    std::vector<int32_t>& AuthorIndexes() { return FAuthorIndexes; }
    const std::vector<int32_t>& AuthorIndexes() const { return FAuthorIndexes; }

    // Index of the author whose text holds position APosition - 1: the number
    // of start entries below APosition.
    int32_t AuthorByPosition(int32_t APosition) const;

    TQuillprint* Quillprint() const { return FQuillprint; }

    // Per position, an id shared exactly by identical words (filled by the
    // phrase pass).
    const std::vector<int32_t>& WordIds() const { return FWordIds; }
    // The corpus cut at every blank; empty unless some word holds a blank.
    const TWordPieces& WordPieces() const { return FWordPieces; }
    // Positions after a left-out passage: no phrase runs across them, as
    // none runs from one author into the next.
    const std::vector<int32_t>& Breaks() const { return FBreaks; }

private:
    friend class TQuillprint;
    friend class TPhraseSearch;
    // Finds the repeated phrases of the corpus; runs once per corpus.
    void ProcessText();
    // Its two steps: the search (which gives up, leaving its lists
    // unfinished, once `stop` is requested), then the phrase order and the
    // containment filter. The start list must be sorted before the search.
    void FindRepeatedPhrases(std::stop_token stop = {});
    void KeepPhrases();

    TQuillprint* FQuillprint = nullptr;
    std::vector<int32_t> FAuthorIndexes;
    std::vector<int32_t> FWordIds;
    TWordPieces FWordPieces;
    std::vector<int32_t> FBreaks;
};

}  // namespace quillprint
