#include "engine/Author.h"

#include "engine/PhraseOrder.h"
#include "engine/WordSplitter.h"

namespace quillprint {

TAuthorCustom::TAuthorCustom(std::u16string_view AName, std::u16string_view AText)
    : FName(AName)
    , FText(SplitWords(AText))
{
}

TAuthorCustom::TAuthorCustom(std::u16string_view AName, TWordList AWords) : FName(AName), FText(std::move(AWords))
{
}

void TAuthorCustom::SortPhrases()
{
    PartitionSortPhrases(FPhrases);
}

TWordsAll::TWordsAll(std::u16string_view AName, std::u16string_view AText)
    : TAuthorCustom(AName, AText)
{
}

int32_t TWordsAll::AuthorByPosition(int32_t APosition) const
{
    int32_t result = 0;
    for (size_t i = 0; i < FAuthorIndexes.size(); ++i) {
        if (FAuthorIndexes[i] < APosition)
            result = static_cast<int32_t>(i) + 1;
    }
    return result;
}

}  // namespace quillprint
