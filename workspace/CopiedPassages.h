// Copied passages as the user sees them: which candidate, which text entries
// and lines, how long, how they begin; and the refusal of a calculation
// worded with those places.
#pragma once

#include <cstdint>
#include <stop_token>
#include <string>
#include <vector>

#include "engine/Text.h"
#include "workspace/BalancedSample.h"
#include "workspace/Grid.h"
#include "workspace/RunRequest.h"

namespace quillprint {

struct TRefusedRun;

// Where a word of an author's texts stands.
struct TTextPlace {
    int32_t Text = -1;   // index of the text entry of its author, -1: unknown
    std::u16string Label;
    int32_t Line = 0;    // 1-based within that text

    bool operator==(const TTextPlace&) const = default;
};

// The words of one author's texts as the engine splits them, each with its
// text entry and line.
class TWordPlaces {
public:
    explicit TWordPlaces(const TCandidateLines& author, const TWordSplitter& splitter = {});

    const TWordList& Words() const { return FWords; }
    // The place of word `word` (0-based in Words()).
    TTextPlace PlaceOf(int32_t word) const;

private:
    const TCandidateLines& FAuthor;
    TWordList FWords;
    std::vector<int32_t> FLineOfWord;  // index into the author's lines
};

struct TCopyRow {
    std::u16string Candidate;
    TTextPlace CandidatePlace;
    TTextPlace UnknownPlace;
    TTextPlace UnknownEnd;  // the place of the passage's last word
    int32_t Words = 0;
    std::u16string FirstWords;
};

// The passages of at least `minWords` words that the unknown text shares
// with a candidate (see engine/CopyFinder.h), in the order of the unknown
// text; the words split as `splitting` says. A stop request ends the search
// with TCalculationCancelled.
std::vector<TCopyRow> FindCopyRows(const std::vector<TCandidateLines>& candidates, const TCandidateLines& unknown,
                                   const std::string& localeName, int32_t minWords,
                                   TWordSplitting splitting = TWordSplitting::Spaces, std::stop_token stop = {});

// The table of "Copied passages" and of --copies: a header row, then one
// row per passage.
TGrid CopiesGrid(const std::vector<TCopyRow>& rows);

// The refusal reworded with the text entries and lines of its passages and,
// when leaving copies out would help, the switch under the name
// `switchName`. `authors` are the engine's authors in its order, the
// unknown text last, split as the engine split them.
std::string DescribeRefusalWithPlaces(const TRefusedRun& refused, const std::vector<TCandidateLines>& authors,
                                      TWordSplitting splitting = TWordSplitting::Spaces,
                                      const std::string& switchName = kLeaveOutCopiesName);

// The note the results table adds to the unknown text's word count; none
// when no words were left out.
std::u16string WordsLeftOutNote(int32_t words);

}  // namespace quillprint
