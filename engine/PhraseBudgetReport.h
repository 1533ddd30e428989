// What makes a calculation exceed the phrase budget, and the words that tell
// the user what to remove.
#pragma once

#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>
#include <vector>

#include "engine/CopyFinder.h"
#include "engine/Quillprint.h"
#include "engine/Text.h"

namespace quillprint {

// A stretch of words that an earlier place of the combined corpus holds word
// for word (identical words, as the phrase search compares them). Places are
// engine author indexes and word indexes in that author's text.
struct TRepeatedPassage {
    int32_t Author = 0;
    int32_t Start = 0;
    int32_t SourceAuthor = 0;
    int32_t SourceStart = 0;
    int32_t Words = 0;
};

struct TPhraseBudgetReport {
    // What the phrase search records for the whole corpus.
    int64_t Phrases = 0;
    int64_t Instances = 0;
    // The same once every passage below is cut out: what remains when the
    // user removes them.
    int64_t RemainingPhrases = 0;
    int64_t RemainingInstances = 0;
    // The same once only the longest passage is cut out.
    int64_t PhrasesWithoutLongest = 0;
    int64_t InstancesWithoutLongest = 0;
    // The same once every passage but the longest is cut out: whether the
    // longest alone goes past the budget.
    int64_t PhrasesWithOnlyLongest = 0;
    int64_t InstancesWithOnlyLongest = 0;
    int32_t MinWords = kDefaultCopyWords;
    // Passages of at least MinWords words, in corpus order.
    std::vector<TRepeatedPassage> Passages;
};

// What a refused calculation hands its caller (TPassageTooLongError).
struct TRefusedRun {
    TPhraseBudgetReport Report;  // places as engine authors and their word indexes
    TPhraseBudget Budget;
    std::vector<std::u16string> Names;  // the engine's authors, test author last
    bool CopiesLeftOut = false;         // the test text was already without its copies
    std::string LocaleName;             // the engine's locale, for the numbers of the message
};

// Counts the phrases and instances that the phrase search records for
// `corpus` (cut at `stretchStarts`: positions where no phrase runs across,
// ascending) and lists its repeated passages of at least `minWords` words.
// Passage places are corpus positions here; the engine maps them to authors.
// Linear time and memory. A stop request ends it with TCalculationCancelled.
TPhraseBudgetReport ReportRepeats(const TWordList& corpus, const std::vector<int32_t>& stretchStarts, int32_t minWords,
                                  const std::stop_token& stop = {});

// How the refusal names things: engine authors by index (test author last),
// the place where a passage begins ("" when unknown), and the switch that
// leaves copies out of the test text ("" when it cannot help).
struct TRefusalWording {
    std::vector<std::u16string> Names;
    std::function<std::string(int32_t author, int32_t start)> PlaceOf;
    std::string LeaveOutOption;
    // Numbers are grouped as the users of this locale write them ("" is the
    // root locale: "5,120").
    std::string LocaleName;
};

// The message of a refused calculation (UTF-8): what really exceeds the
// budget, so that doing what it says lets the calculation run.
std::string DescribeRefusal(const TPhraseBudgetReport& report, const TPhraseBudget& budget,
                            const TRefusalWording& wording);

}  // namespace quillprint
