#include "engine/PhraseOrder.h"

#include <algorithm>
#include <string>

namespace quillprint {

int32_t ComparePhrases(const TPhrase& left, const TPhrase& right)
{
    const int32_t byWords = right.CountWords() - left.CountWords();
    if (byWords != 0)
        return byWords;
    return right.CountInstances() - left.CountInstances();
}

void PartitionSortPhrases(std::vector<TPhrase*>& phrases)
{
    if (phrases.size() < 2)
        return;
    // Ranges still to sort; the right part of each partition is handled in
    // the loop, the left part is pushed.
    std::vector<std::pair<int64_t, int64_t>> pending{{0, static_cast<int64_t>(phrases.size()) - 1}};
    while (!pending.empty()) {
        auto [left, right] = pending.back();
        pending.pop_back();
        while (right - left > 0) {
            int64_t i = left;
            int64_t j = right;
            const TPhrase* pivot = phrases[static_cast<size_t>(left + (right - left) / 2)];
            do {
                while (ComparePhrases(*phrases[static_cast<size_t>(i)], *pivot) < 0)
                    ++i;
                while (ComparePhrases(*phrases[static_cast<size_t>(j)], *pivot) > 0)
                    --j;
                if (i <= j) {
                    if (i != j)
                        std::swap(phrases[static_cast<size_t>(i)], phrases[static_cast<size_t>(j)]);
                    ++i;
                    --j;
                }
            } while (i <= j);
            if (left < j)
                pending.emplace_back(left, j);
            left = i;
            if (i >= right)
                break;
        }
    }
}

namespace {

// Word-level form of the substring test, valid when no word of either phrase
// holds a blank: then the blanks of a text are exactly its word boundaries,
// and `inner` occurs in `outer` when its first word ends a word of `outer`,
// its middle words equal the following words and its last word begins the
// word after them.
bool OccursInsideByWords(const TPhrase& inner, const TPhrase& outer)
{
    const TWordList& innerWords = *inner.Corpus();
    const TWordList& outerWords = *outer.Corpus();
    const int32_t n = inner.CountWords();
    const int32_t m = outer.CountWords();
    const auto innerWord = [&](int32_t k) -> const std::u16string& { return innerWords[static_cast<size_t>(inner.Start() + k)]; };
    const auto outerWord = [&](int32_t k) -> const std::u16string& { return outerWords[static_cast<size_t>(outer.Start() + k)]; };

    if (n == 1) {
        const std::u16string& word = innerWord(0);
        for (int32_t k = 0; k < m; ++k) {
            if (outerWord(k).find(word) != std::u16string::npos)
                return true;
        }
        return false;
    }
    for (int32_t k = 0; k + n <= m; ++k) {
        bool matches = true;
        for (int32_t w = 1; w + 1 < n && matches; ++w)
            matches = innerWord(w) == outerWord(k + w);
        if (!matches)
            continue;
        if (!outerWord(k).ends_with(innerWord(0)))
            continue;
        if (!outerWord(k + n - 1).starts_with(innerWord(n - 1)))
            continue;
        return true;
    }
    return false;
}

}  // namespace

bool PhraseOccursInside(const TPhrase& inner, const TPhrase& outer)
{
    if (inner.ValueLength() == 0 || inner.ValueLength() > outer.ValueLength())
        return false;
    // Two instances of the same stretch of the corpus: the inner words lie
    // within the outer ones.
    if (inner.Corpus() == outer.Corpus() && inner.Start() >= outer.Start()
        && inner.Start() + inner.CountWords() <= outer.Start() + outer.CountWords())
        return true;
    if (inner.Corpus() != nullptr && outer.Corpus() != nullptr && !inner.HasBlankInWord() && !outer.HasBlankInWord())
        return OccursInsideByWords(inner, outer);
    return outer.Value().find(inner.Value()) != std::u16string::npos;
}

void ApplyContainmentFilter(const std::vector<TPhrase*>& phrases)
{
    constexpr size_t kWindow = 1000;
    const size_t n = phrases.size();
    for (size_t a = 0; a + 1 < n; ++a) {
        const TPhrase& outer = *phrases[a];
        if (outer.CountAuthors() != 2 || !outer.Valid())
            continue;
        const size_t last = std::min(a + kWindow, n - 1);
        for (size_t b = a + 1; b <= last; ++b) {
            TPhrase& inner = *phrases[b];
            if (inner.CountAuthors() == 2 && inner.Valid() && PhraseOccursInside(inner, outer))
                inner.SetValid(false);
        }
    }
}

}  // namespace quillprint

