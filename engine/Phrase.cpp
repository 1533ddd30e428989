#include "engine/Phrase.h"

#include <stdexcept>
#include <string>

namespace quillprint {

TPhrase::TPhrase(const TWordList* corpus, int32_t start, int32_t countWords)
    : FCountWords(countWords)
    , FStart(start)
    , FCorpus(corpus)
{
}

int32_t TPhrase::AuthorsCount(int32_t index) const
{
    if (index < 0 || index >= FAuthorCount)
        throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
    return FAuthorsCounts[index];
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
