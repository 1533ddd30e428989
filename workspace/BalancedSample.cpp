#include "workspace/BalancedSample.h"

#include <algorithm>
#include <stdexcept>

#include "engine/Normalization.h"
#include "engine/WordSplitter.h"
#include "workspace/PreparedCandidates.h"
#include "workspace/SplitMix64.h"

namespace quillprint {

namespace {

// FNV-1a, 64 bits.
class TFnv1a {
public:
    void Add(uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            FHash ^= (value >> (8 * i)) & 0xFF;
            FHash *= 0x100000001B3ull;
        }
    }
    uint64_t Hash() const { return FHash; }

private:
    uint64_t FHash = 0xCBF29CE484222325ull;
};

std::vector<TSampleUnit> LineBlocks(const TLines& lines, size_t begin, size_t end, const TWordSplitter& splitter) {
    std::vector<TSampleUnit> blocks;
    TSampleUnit block{begin, begin, 0};
    int64_t words = 0;
    for (size_t line = begin; line < end; ++line) {
        words += EngineWordCount(lines, line, line + 1, splitter);
        block.End = line + 1;
        if (words >= kBlockWords || block.End == end) {
            // Counted again as a whole, so a block's count is what the
            // engine would count for exactly these lines.
            block.Words = EngineWordCount(lines, block.Begin, block.End, splitter);
            blocks.push_back(block);
            block = {block.End, block.End, 0};
            words = 0;
        }
    }
    return blocks;
}

}  // namespace

int64_t EngineWordCount(const TLines& lines, size_t begin, size_t end, const TWordSplitter& splitter) {
    const TLines part(lines.begin() + static_cast<std::ptrdiff_t>(begin),
                      lines.begin() + static_cast<std::ptrdiff_t>(end));
    return static_cast<int64_t>(splitter.Split(NormalizeText(JoinLines(part))).size());
}

std::vector<TSampleUnit> SampleUnits(const TCandidateLines& candidate, const TWordSplitter& splitter) {
    const size_t lineCount = candidate.Lines.size();
    std::vector<std::pair<size_t, size_t>> texts;
    for (size_t i = 0; i < candidate.TextStarts.size(); ++i) {
        const size_t begin = std::min(candidate.TextStarts[i], lineCount);
        const size_t end = i + 1 < candidate.TextStarts.size() ? std::min(candidate.TextStarts[i + 1], lineCount)
                                                               : lineCount;
        if (begin < end) texts.emplace_back(begin, end);
    }
    if (texts.size() == 1) return LineBlocks(candidate.Lines, texts[0].first, texts[0].second, splitter);
    std::vector<TSampleUnit> units;
    for (const auto& [begin, end] : texts)
        units.push_back({begin, end, EngineWordCount(candidate.Lines, begin, end, splitter)});
    return units;
}

namespace {

std::vector<std::shared_ptr<const TPreparedCandidate>> PreparedWithUnits(
    const std::vector<TCandidateLines>& candidates) {
    std::vector<std::shared_ptr<const TPreparedCandidate>> prepared;
    for (const TCandidateLines& candidate : candidates) prepared.push_back(PrepareCandidate(candidate, true));
    return prepared;
}

}  // namespace

TBalancedSampler::TBalancedSampler(const std::vector<TCandidateLines>& candidates)
    : TBalancedSampler(PreparedWithUnits(candidates)) {}

TBalancedSampler::TBalancedSampler(std::vector<std::shared_ptr<const TPreparedCandidate>> candidates)
    : FCandidates(std::move(candidates)) {
    TFnv1a seed;
    int64_t smallest = -1;
    for (const auto& candidate : FCandidates) {
        if (!candidate->HasUnits) throw std::logic_error("A balanced run needs candidates prepared with their units");
        const int64_t words = candidate->WordCount();
        if (smallest < 0 || words < smallest) smallest = words;
        for (const char16_t unit : candidate->Name()) seed.Add(unit, 2);
        seed.Add(static_cast<uint64_t>(words), 8);
    }
    FBudget = std::max(smallest, kMinimumBudget);
    FSeed = seed.Hash();
}

const std::vector<TSampleUnit>& TBalancedSampler::Units(size_t candidate) const {
    return FCandidates.at(candidate)->Units;
}

int64_t TBalancedSampler::Words(size_t candidate) const { return FCandidates.at(candidate)->WordCount(); }

bool TBalancedSampler::DrawsDiffer() const {
    return std::any_of(FCandidates.begin(), FCandidates.end(),
                       [this](const auto& candidate) { return candidate->WordCount() > FBudget; });
}

std::vector<std::vector<size_t>> TBalancedSampler::Draw(int32_t draw) const {
    // Each draw has a generator of its own, so any draw can be made alone.
    TSplitMix64 random(FSeed ^ (0x632BE59BD9B4E019ull * (static_cast<uint64_t>(draw) + 1)));
    std::vector<std::vector<size_t>> chosen(FCandidates.size());
    for (size_t c = 0; c < FCandidates.size(); ++c) {
        const std::vector<TSampleUnit>& units = FCandidates[c]->Units;
        std::vector<size_t> order(units.size());
        for (size_t i = 0; i < order.size(); ++i) order[i] = i;
        if (FCandidates[c]->WordCount() <= FBudget) {
            chosen[c] = std::move(order);
            continue;
        }
        random.Shuffle(order);
        int64_t words = 0;
        for (const size_t unit : order) {
            if (words >= FBudget) break;
            chosen[c].push_back(unit);
            words += units[unit].Words;
        }
        // Back in text order, so neighbouring blocks join up as they were written.
        std::sort(chosen[c].begin(), chosen[c].end());
    }
    return chosen;
}

std::u16string TBalancedSampler::SampleText(size_t candidate, const std::vector<size_t>& chosen) const {
    const TPreparedCandidate& prepared = *FCandidates.at(candidate);
    const TLines& lines = prepared.Lines.Lines;
    std::u16string text;
    for (const size_t unit : chosen) {
        const TSampleUnit& u = prepared.Units.at(unit);
        for (size_t line = u.Begin; line < u.End; ++line) {
            text += lines[line];
            text += u"\r\n";
        }
    }
    return text;
}

}  // namespace quillprint
