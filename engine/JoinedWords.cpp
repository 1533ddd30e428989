#include "engine/JoinedWords.h"

#include <algorithm>
#include <unordered_map>

#include "engine/Cancellation.h"
#include "engine/SuffixArray.h"

namespace quillprint {

TJoinedWords::TJoinedWords(const std::vector<TStretch>& lists, const TIdsOf& idsOf, const std::stop_token& stop)
{
    size_t total = lists.size();
    for (const TStretch& list : lists)
        total += list.size();
    FSequence.reserve(total);
    FListOf.reserve(total);

    std::unordered_map<std::u16string_view, int32_t> distinctIndex;
    std::vector<std::u16string_view> distinct;
    for (size_t l = 0; l < lists.size(); ++l) {
        FBegin.push_back(static_cast<int32_t>(FSequence.size()));
        for (const std::u16string& word : lists[l]) {
            CheckEvery64K(stop, FSequence.size());
            const auto [it, inserted] = distinctIndex.try_emplace(word, static_cast<int32_t>(distinct.size()));
            if (inserted)
                distinct.push_back(word);
            FSequence.push_back(it->second);
            FListOf.push_back(static_cast<int32_t>(l));
        }
        FSequence.push_back(-1);  // the separator, numbered below
        FListOf.push_back(-1);
    }

    const std::vector<int32_t> ids = idsOf(distinct);
    int32_t wordIds = 0;
    for (const int32_t id : ids)
        wordIds = std::max(wordIds, id + 1);
    // Separators get ids of their own after every word id.
    int32_t separator = wordIds;
    for (int32_t& value : FSequence)
        value = value < 0 ? separator++ : ids[static_cast<size_t>(value)];
    FAlphabetSize = separator;

    SuffixArray = BuildSuffixArray(FSequence, FAlphabetSize, stop);
    Lcp = BuildLcpArray(FSequence, SuffixArray, stop);
}

}  // namespace quillprint
