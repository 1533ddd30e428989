// Equal-size samples of the candidates for a balanced calculation. The
// scoring favours the candidate with the most text, so each draw cuts every
// candidate down to about the same number of words.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/WordSplitter.h"
#include "workspace/TextReader.h"

namespace quillprint {

// The lines of one candidate as a calculation gathers them.
struct TCandidateLines {
    std::u16string Name;
    TLines Lines;                    // all its texts, one after another
    std::vector<size_t> TextStarts;  // the first line of each text, ascending
    std::vector<std::u16string> TextLabels;  // each text's label in the tree, when known
};

// Whole lines of one candidate that a sample takes or leaves together.
struct TSampleUnit {
    size_t Begin = 0;  // lines [Begin, End)
    size_t End = 0;
    int64_t Words = 0;
};

inline constexpr int32_t kBalancedDraws = 9;
// The budget never falls below this, so tiny candidates do not shrink the
// others to a few sentences.
inline constexpr int64_t kMinimumBudget = 5000;
// A candidate with a single text is cut into blocks of consecutive lines of
// about this many words.
inline constexpr int64_t kBlockWords = 200;

// The engine's word count of lines [begin, end): normalised, then split.
int64_t EngineWordCount(const TLines& lines, size_t begin, size_t end, const TWordSplitter& splitter = {});

// A candidate's texts, or, when it has a single text, blocks of consecutive
// lines, each closed at the line that brings it to kBlockWords words. Lines
// held back past the end are left out; texts without lines are no units.
std::vector<TSampleUnit> SampleUnits(const TCandidateLines& candidate, const TWordSplitter& splitter = {});

struct TPreparedCandidate;

// Which units each candidate contributes to each draw.
class TBalancedSampler {
public:
    // Prepares a copy of `candidates` with their units.
    explicit TBalancedSampler(const std::vector<TCandidateLines>& candidates);
    // Shares candidates prepared with their units (see PreparedCandidates.h).
    explicit TBalancedSampler(std::vector<std::shared_ptr<const TPreparedCandidate>> candidates);

    // The smallest candidate's word count, at least kMinimumBudget.
    int64_t Budget() const { return FBudget; }
    // Mixed from the candidates' names and word counts: the same candidates
    // always give the same draws.
    uint64_t Seed() const { return FSeed; }
    // False when every candidate is within the budget: then every draw takes
    // all of every text and one engine run stands for all draws.
    bool DrawsDiffer() const;

    const std::vector<TSampleUnit>& Units(size_t candidate) const;
    int64_t Words(size_t candidate) const;

    // For draw `draw` (0-based), the units of each candidate in text order: a
    // candidate within the budget gives all of them; a larger one gives its
    // units in a random order, taken until their words reach the budget.
    std::vector<std::vector<size_t>> Draw(int32_t draw) const;

    // The text of the chosen units, every line followed by CR LF.
    std::u16string SampleText(size_t candidate, const std::vector<size_t>& chosen) const;

private:
    std::vector<std::shared_ptr<const TPreparedCandidate>> FCandidates;
    int64_t FBudget = kMinimumBudget;
    uint64_t FSeed = 0;
};

}  // namespace quillprint
