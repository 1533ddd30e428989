#include "engine/Phrase.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace quillprint {

TPhrase::TPhrase(const TWordList* corpus, int32_t start, int32_t countWords)
    : FCountWords(countWords)
    , FStart(start)
    , FCorpus(corpus)
{
}

void TPhrase::SetAuthorsCounts(std::span<const TAuthorCount> entries, int32_t authorCount)
{
    FCounts = entries.data();
    FCountEntries = static_cast<int32_t>(entries.size());
    FAuthorCount = authorCount;
}

int32_t TPhrase::AuthorsCount(int32_t index) const
{
    if (index < 0 || index >= FAuthorCount)
        throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
    const auto entries = AuthorCountEntries();
    const auto found = std::lower_bound(entries.begin(), entries.end(), index,
                                        [](const TAuthorCount& entry, int32_t author) { return entry.Author < author; });
    return found != entries.end() && found->Author == index ? found->Count : 0;
}

std::vector<int32_t> TPhrase::AuthorsCounts() const
{
    std::vector<int32_t> counts(static_cast<size_t>(FAuthorCount), 0);
    for (const TAuthorCount& entry : AuthorCountEntries())
        counts[static_cast<size_t>(entry.Author)] = entry.Count;
    return counts;
}

int32_t TPhrase::TestCount() const
{
    // Entries go by ascending author, so the test author's is the last one.
    if (FCountEntries == 0 || FCounts[FCountEntries - 1].Author != FAuthorCount - 1)
        return 0;
    return FCounts[FCountEntries - 1].Count;
}

bool TPhrase::IsScored() const
{
    const int32_t testCount = TestCount();
    return testCount >= 1 && testCount != FCountInstances && FUnique != -1;
}

std::u16string TPhrase::Value() const
{
    std::u16string value;
    if (FCorpus == nullptr)
        return value;
    value.reserve(static_cast<size_t>(FValueLength));
    for (int32_t i = 0; i < FCountWords; ++i) {
        if (i > 0)
            value.push_back(u' ');
        value += (*FCorpus)[static_cast<size_t>(FStart + i)];
    }
    return value;
}

}  // namespace quillprint
