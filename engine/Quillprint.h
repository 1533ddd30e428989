// The engine of one attribution.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <utility>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Author.h"
#include "engine/Cancellation.h"
#include "engine/Collation.h"
#include "engine/CopyFinder.h"
#include "engine/ParallelFor.h"
#include "engine/Phrase.h"
#include "engine/WordSplitter.h"

namespace quillprint {

// Limits that keep a verbatim copy from exhausting memory or time. They count
// work, never time, so the same input always gives the same outcome.
struct TPhraseBudget {
    int64_t MaxPhrases = 10'000'000;
    int64_t MaxInstances = 400'000'000;
};

// A candidate's ratio (its raw score over half the test author's) mapped to
// its score: unchanged up to 0.8, then squeezed into (0.8, 0.82] up to 1,
// (0.95, 1] up to 1.5, and 0.99 above. The bands are tested against the
// extended constants 0.8 and 0.95, so a ratio of exactly 0.8 (as a double,
// slightly above) lands in the second band and still scores 0.8.
double ScoreBand(double ratio);

// The stages of Detect, reported as each begins.
enum class TEnginePhase { FindingPhrases, Scoring };

// Takes candidate texts one by one, then a test text, finds the phrases they
// repeat and scores every candidate against the test text.
class TQuillprint {
public:
    // `localeName` picks the collation and the summary's decimal separator.
    explicit TQuillprint(const std::string& localeName = DefaultLocaleName());
    virtual ~TQuillprint();
    TQuillprint(const TQuillprint&) = delete;
    TQuillprint& operator=(const TQuillprint&) = delete;

    // Normalises `AText` and makes it an author; Detect puts every author's
    // words into the combined corpus (a text split at separators is split
    // only then, straight into it).
    void AddAuthor(std::u16string_view AName, std::u16string_view AText);
    // AddAuthor for each (name, text) in order; the texts are normalised and
    // split as independent parts.
    void AddAuthors(const std::vector<std::pair<std::u16string_view, std::u16string_view>>& authors);
    // AddAuthor for a text already normalised and split: `words` must be
    // Splitter().Split(NormalizeText(text)) of the text AddAuthor would be given.
    void AddAuthorWords(std::u16string_view AName, const TWordList& words);

    // Adds the test author "Unknown", finds the phrases and scores every
    // candidate. Returns one "Name: score" line per candidate, each ended by
    // CR. Call once. Throws TPassageTooLongError past the budget.
    // Authors are added before Detect; a second Detect, or an author added
    // after it, throws std::logic_error.
    std::u16string Detect(std::u16string_view ATest);

    const std::vector<std::unique_ptr<TAuthor>>& Authors() const { return FAuthors; }
    // The combined corpus's phrase list.
    const std::vector<TPhrase*>& Phrases() const { return FWordsAll->Phrases(); }
    // Mean word count of the candidates, an exact half to even; 0 without any.
    int32_t AverageWordCounts() const;

    // Rebuilds the combined corpus from the authors' word lists and runs the
    // phrase pass on it again.
    void Summarize();
    // Destroys the authors; the combined corpus keeps its words and phrases.
    void Clear();

    TWordsAll& WordsAll() { return *FWordsAll; }
    const TWordsAll& WordsAll() const { return *FWordsAll; }
    const TAuthor* Test() const { return FTest; }
    const TCollation& Collation() const { return *FCollation; }
    const std::string& LocaleName() const { return FCollation->LocaleName(); }

    // Before the first author: how texts are split into words (at
    // separators only, the default, or also by language).
    void SetWordSplitting(TWordSplitting splitting) { FSplitter = TWordSplitter(splitting, LocaleName()); }
    const TWordSplitter& Splitter() const { return FSplitter; }

    // Before Detect: leave out of the test text every passage of at least
    // `minWords` words that it shares with a candidate (see CopyFinder.h);
    // 0, the default, keeps the whole test text.
    void SetLeaveOutCopies(int32_t minWords) { FLeaveOutWords = minWords; }
    int32_t LeaveOutCopies() const { return FLeaveOutWords; }
    // After Detect with copies left out: the passages (test positions in the
    // word list of the text given to Detect) and the words they covered.
    const std::vector<TCopiedPassage>& CopiedPassages() const { return FCopiedPassages; }
    int32_t WordsLeftOut() const { return FWordsLeftOut; }
    // Another thread may stop the run through `stop`: AddAuthor and Detect
    // then throw TCalculationCancelled within a few milliseconds.
    void SetStopToken(std::stop_token stop) { FCancellation = TCancellation(std::move(stop)); }
    TCancellation& Cancellation() { return FCancellation; }
    // Called on the engine's thread as each stage of Detect begins.
    void SetPhaseHandler(std::function<void(TEnginePhase)> handler) { FPhaseHandler = std::move(handler); }

    // Before Detect: a runner for the independent parts of the calculation
    // (see ParallelFor.h). Without one, the default, everything runs in
    // order on the calling thread. The result is the same either way.
    void SetParallelFor(TParallelFor runner) { FParallelFor = std::move(runner); }
    const TParallelFor& ParallelFor() const { return FParallelFor; }

    void SetBudget(const TPhraseBudget& budget) { FBudget = budget; }
    const TPhraseBudget& Budget() const { return FBudget; }

    // Storage of the phrase records and their counts; they live as long as
    // the engine. Used by the phrase pass.
    TPhrase& NewPhrase(const TWordList* corpus, int32_t start, int32_t countWords);
    TAuthorCount* NewCountEntries(int32_t count);
    // Every phrase record made, in the order made (discarded ones included).
    const std::deque<TPhrase>& PhraseRecords() const { return FPhraseStore; }

private:
    // A new author of `AText`, normalised; may run on any thread.
    std::unique_ptr<TAuthor> MakeAuthor(std::u16string_view AName, std::u16string_view AText) const;
    void BuildCombinedCorpus();
    void Score();
    std::u16string SummarizeScores() const;
    void LeaveOutCopiedPassages();
    void FindPhrasesWithinBudget();
    // The refusal of a run past the budget, with what really exceeds it.
    [[noreturn]] void RefuseRun() const;
    std::vector<int32_t> Cuts() const;

    // Throws std::logic_error once Detect has begun: its phrases point into
    // the corpus, which must not change any more.
    void CheckAddingAuthors(const char* call) const;

    std::vector<std::unique_ptr<TAuthor>> FAuthors;
    TAuthor* FTest = nullptr;
    bool FDetectBegun = false;
    std::unique_ptr<TWordsAll> FWordsAll;
    // Corpora replaced by Summarize; their phrases still refer to their words.
    std::vector<std::unique_ptr<TWordsAll>> FRetiredCorpora;
    std::unique_ptr<TCollation> FCollation;
    char16_t FDecimalSeparator = u'.';
    TWordSplitter FSplitter;
    TPhraseBudget FBudget;
    TParallelFor FParallelFor;
    int32_t FLeaveOutWords = 0;
    std::vector<TCopiedPassage> FCopiedPassages;
    int32_t FWordsLeftOut = 0;
    // Per word of the test author: its index in the text given to Detect
    // (kept only when copies were left out).
    std::vector<int32_t> FTestOrigins;
    TCancellation FCancellation;
    std::function<void(TEnginePhase)> FPhaseHandler;

    std::deque<TPhrase> FPhraseStore;
    std::vector<std::unique_ptr<TAuthorCount[]>> FCountBlocks;
    int32_t FCountBlockUsed = 0;
};

}  // namespace quillprint
