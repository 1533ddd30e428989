#include "workspace/PreparedCandidates.h"

#include "engine/EngineError.h"
#include "engine/Normalization.h"
#include "engine/WordSplitter.h"
#include "workspace/JobPool.h"
#include "workspace/TextReader.h"

namespace quillprint {

std::shared_ptr<const TPreparedCandidate> PrepareCandidate(TCandidateLines lines, bool withUnits,
                                                           const TWordSplitter& splitter) {
    auto prepared = std::make_shared<TPreparedCandidate>();
    prepared->Words = splitter.Split(NormalizeText(JoinLines(lines.Lines)));
    if (withUnits) prepared->Units = SampleUnits(lines, splitter);
    prepared->HasUnits = withUnits;
    prepared->Lines = std::move(lines);
    return prepared;
}

TPreparedSet PrepareCandidates(std::vector<TCandidateLines> candidates, bool withUnits, unsigned jobs,
                               std::stop_token stop, const TWordSplitter& splitter) {
    TPreparedSet set(candidates.size());
    TJobPool::Shared().ForEach(
        candidates.size(), jobs,
        [&](size_t c) { set[c] = PrepareCandidate(std::move(candidates[c]), withUnits, splitter); }, stop);
    if (stop.stop_requested()) throw TCalculationCancelled();
    return set;
}

}  // namespace quillprint
