// A word sequence that occurs more than once in the combined corpus, with
// its counts per author.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Text.h"

namespace quillprint {

// A corpus cut at every blank, the blanks inside quoted items included. The
// text of a phrase is then its pieces joined by single blanks, with no blank
// inside a piece, so a substring test can run piece by piece.
struct TWordPieces {
    std::vector<int32_t> FirstPiece;            // per corpus word, plus one past the end
    std::vector<int32_t> Ids;                   // per piece; equal exactly for identical pieces
    std::vector<std::u16string_view> Text;      // per piece, a view into the corpus word
};

// One author that holds instances of a phrase, and how many.
struct TAuthorCount {
    int32_t Author;
    int32_t Count;
};

class TPhrase {
public:
    // An empty record: no counts, Unique -1, Valid.
    TPhrase() = default;

    // A phrase of `countWords` words whose text is the words of `corpus` from
    // position `start` on. Its text is rebuilt from there when asked for, so a
    // record stays small however long the phrase is.
    TPhrase(const TWordList* corpus, int32_t start, int32_t countWords);

    // One entry per engine author: the phrase's instances in that author's
    // text. Built on each call from the sparse counts below.
    std::vector<int32_t> AuthorsCounts() const;
    // The count of author `index`, 0 for an author without instances; throws
    // std::out_of_range outside the engine's authors.
    int32_t AuthorsCount(int32_t index) const;
    // Only the authors with instances, by ascending author index: memory
    // grows with the instances, not with phrases times authors. The storage
    // belongs to the engine that made the phrase.
    std::span<const TAuthorCount> AuthorCountEntries() const { return {FCounts, static_cast<size_t>(FCountEntries)}; }
    // `entries` by ascending author, none with a count of 0; `authorCount` is
    // the number of engine authors.
    void SetAuthorsCounts(std::span<const TAuthorCount> entries, int32_t authorCount);

    int32_t CountInstances() const { return FCountInstances; }
    void SetCountInstances(int32_t value) { FCountInstances = value; }
    int32_t CountWords() const { return FCountWords; }
    void SetCountWords(int32_t value) { FCountWords = value; }
    int32_t Unique() const { return FUnique; }
    void SetUnique(int32_t value) { FUnique = value; }
    bool Valid() const { return FValid; }
    void SetValid(bool value) { FValid = value; }
    int32_t CountAuthors() const { return FCountAuthors; }
    void SetCountAuthors(int32_t value) { FCountAuthors = value; }

    // The count of the test text (the last author), 0 without authors.
    int32_t TestCount() const;
    // A scored phrase: the test text (the last author) uses it, some other
    // text uses it too, and exactly one candidate does. The scoring counts
    // these and the analysis table lists them.
    bool IsScored() const;

    // The phrase text: its words joined by single blanks.
    std::u16string Value() const;
    // Length of Value() in code units, without building it.
    int32_t ValueLength() const { return FValueLength; }
    void SetValueLength(int32_t value) { FValueLength = value; }
    // True when a word of the phrase holds a blank, so the blanks of Value()
    // are not all word boundaries (only quoted items do that).
    bool HasBlankInWord() const { return FHasBlankInWord; }
    void SetHasBlankInWord(bool value) { FHasBlankInWord = value; }

    // A 64-bit signature of the code units in Value() (bit c mod 64 for
    // each code unit c): a text whose signature has a bit that another's
    // lacks cannot occur inside it.
    uint64_t CharMask() const { return FCharMask; }
    void SetCharMask(uint64_t value) { FCharMask = value; }

    // Position of the record among all records its engine made, in the order
    // they were made.
    int32_t RecordIndex() const { return FRecordIndex; }
    void SetRecordIndex(int32_t value) { FRecordIndex = value; }

    // Where one instance of the phrase starts in the corpus.
    int32_t Start() const { return FStart; }
    const TWordList* Corpus() const { return FCorpus; }
    // Ids of the corpus words (equal exactly for identical words), or null.
    const int32_t* WordIds() const { return FWordIds; }
    void SetWordIds(const int32_t* value) { FWordIds = value; }
    // The corpus cut into blank-free pieces, or null (kept only for a corpus
    // where some word holds a blank).
    const TWordPieces* Pieces() const { return FPieces; }
    void SetPieces(const TWordPieces* value) { FPieces = value; }

private:
    const TAuthorCount* FCounts = nullptr;
    int32_t FCountEntries = 0;
    int32_t FAuthorCount = 0;
    int32_t FCountInstances = 0;
    int32_t FCountWords = 0;
    int32_t FUnique = -1;
    int32_t FCountAuthors = 0;
    int32_t FStart = 0;
    int32_t FValueLength = 0;
    int32_t FRecordIndex = -1;
    bool FValid = true;
    bool FHasBlankInWord = false;
    uint64_t FCharMask = ~uint64_t{0};
    const TWordList* FCorpus = nullptr;
    const int32_t* FWordIds = nullptr;
    const TWordPieces* FPieces = nullptr;
};

}  // namespace quillprint
