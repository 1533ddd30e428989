#include "LiteralExtraction.h"

#include <algorithm>
#include <utility>

namespace quillprint::testing {
namespace {

// A phrase string of some words and the corpus position of its last word
// (one past the instance when no next word was found).
struct TEntry {
    std::u16string Text;
    int32_t Position = 0;
    bool FoundNextWord = true;
};

// Entries kept in collation order. Each new entry goes in front of every
// entry that compares equal to it, found by bisection. The entries are
// stored once and the sorted order is a vector of their indexes, so an
// insertion moves small integers rather than strings.
class TSortedEntries {
public:
    explicit TSortedEntries(const TCollation& collation) : FCollation(collation) {}

    void Insert(TEntry entry) {
        size_t low = 0;
        size_t high = FOrder.size();
        while (low < high) {
            const size_t middle = low + (high - low) / 2;
            if (FCollation.Compare(At(middle).Text, entry.Text) < 0)
                low = middle + 1;
            else
                high = middle;
        }
        FEntries.push_back(std::move(entry));
        FOrder.insert(FOrder.begin() + static_cast<std::ptrdiff_t>(low),
                      static_cast<int32_t>(FEntries.size() - 1));
    }

    // Appends an entry known to sort after every entry already held.
    void AppendInOrder(const TEntry& entry) {
        FEntries.push_back(entry);
        FOrder.push_back(static_cast<int32_t>(FEntries.size() - 1));
    }

    size_t Size() const { return FOrder.size(); }
    const TEntry& At(size_t index) const { return FEntries[static_cast<size_t>(FOrder[index])]; }
    void Clear() { FEntries.clear(); FOrder.clear(); }

private:
    const TCollation& FCollation;
    std::vector<TEntry> FEntries;
    std::vector<int32_t> FOrder;
};

int32_t ComparePhraseOrder(const TLiteralPhrase& left, const TLiteralPhrase& right) {
    const int32_t byWords = right.CountWords - left.CountWords;
    return byWords != 0 ? byWords : right.CountInstances - left.CountInstances;
}

void PartitionSortRange(std::vector<TLiteralPhrase*>& phrases, int32_t low, int32_t high) {
    while (high - low > 0) {
        int32_t i = low;
        int32_t j = high;
        const TLiteralPhrase* pivot = phrases[static_cast<size_t>(low + (high - low) / 2)];
        do {
            while (ComparePhraseOrder(*phrases[static_cast<size_t>(i)], *pivot) < 0) ++i;
            while (ComparePhraseOrder(*phrases[static_cast<size_t>(j)], *pivot) > 0) --j;
            if (i <= j) {
                if (i != j) std::swap(phrases[static_cast<size_t>(i)], phrases[static_cast<size_t>(j)]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (low < j) PartitionSortRange(phrases, low, j);
        low = i;
        if (i >= high) return;
    }
}

void ApplyContainmentFilterLiterally(const std::vector<TLiteralPhrase*>& phrases) {
    const size_t count = phrases.size();
    for (size_t a = 0; a + 1 < count; ++a) {
        const size_t last = std::min(a + 1000, count - 1);
        for (size_t b = a + 1; b <= last; ++b) {
            TLiteralPhrase& outer = *phrases[a];
            TLiteralPhrase& inner = *phrases[b];
            if (outer.CountAuthors != 2 || inner.CountAuthors != 2) continue;
            if (!outer.Valid || !inner.Valid || inner.Value.empty()) continue;
            if (outer.Value.find(inner.Value) != std::u16string::npos) inner.Valid = false;
        }
    }
}

class TLiteralExtractor {
public:
    TLiteralExtractor(const std::vector<TWordList>& authorWords, const TCollation& collation,
                      TLiteralResult& result)
        : FCollation(collation), FAuthorCount(static_cast<int32_t>(authorWords.size())), FResult(result) {
        for (size_t author = 0; author < authorWords.size(); ++author) {
            if (author > 0) FAuthorIndexes.push_back(static_cast<int32_t>(FCorpus.size()));
            FCorpus.insert(FCorpus.end(), authorWords[author].begin(), authorWords[author].end());
        }
        std::sort(FAuthorIndexes.begin(), FAuthorIndexes.end());
        FResult.AuthorPhrases.resize(authorWords.size());
    }

    void Run() {
        TSortedEntries words(FCollation);
        for (size_t position = 0; position < FCorpus.size(); ++position)
            words.Insert({FCorpus[position], static_cast<int32_t>(position), true});
        for (size_t i = 0; i < words.Size(); ++i) FResult.WordsAlphabetic.push_back(words.At(i).Position);

        FindPhrases(words, 1);

        std::vector<TLiteralPhrase*> sorted;
        for (TLiteralPhrase& phrase : FResult.Records) sorted.push_back(&phrase);
        PartitionSortLiterally(sorted);
        ApplyContainmentFilterLiterally(sorted);
        for (const TLiteralPhrase* phrase : sorted)
            if (phrase->Valid) FResult.Phrases.push_back(phrase);
    }

private:
    int32_t AuthorByPosition(int32_t position) const {
        int32_t author = 0;
        for (size_t k = 0; k < FAuthorIndexes.size(); ++k)
            if (FAuthorIndexes[k] < position) author = static_cast<int32_t>(k) + 1;
        return author;
    }

    bool IsAuthorStart(int32_t position) const {
        return std::find(FAuthorIndexes.begin(), FAuthorIndexes.end(), position) != FAuthorIndexes.end();
    }

    // The entry extended by the word after it; an instance that ends its
    // author's text (or the corpus) gets an empty next word.
    void AddExtension(const TEntry& entry, TSortedEntries& extensions) const {
        const int32_t next = entry.Position + 1;
        const bool found = entry.Position < static_cast<int32_t>(FCorpus.size()) - 1 && !IsAuthorStart(next);
        std::u16string text = entry.Text + u" ";
        if (found) text += FCorpus[static_cast<size_t>(next)];
        extensions.Insert({std::move(text), next, found});
    }

    void FindPhrases(const TSortedEntries& list, int32_t count) {
        TSortedEntries extensions(FCollation);
        for (size_t i = 1; i <= list.Size(); ++i) {
            if (i < list.Size() && list.At(i).Text == list.At(i - 1).Text) {
                if (extensions.Size() == 0) AddExtension(list.At(i - 1), extensions);
                AddExtension(list.At(i), extensions);
                continue;
            }
            if (extensions.Size() >= 2) {
                RecordPhrase(list.At(i - 1).Text, extensions, count);
                FindPhrases(CarriedOn(extensions), count + 1);
            }
            extensions.Clear();
        }
    }

    // Extensions that found no next word count for their run's phrase but go
    // no further, so no phrase ends in a blank or borrows another author's
    // words.
    TSortedEntries CarriedOn(const TSortedEntries& extensions) const {
        TSortedEntries carried(FCollation);
        for (size_t i = 0; i < extensions.Size(); ++i)
            if (extensions.At(i).FoundNextWord) carried.AppendInOrder(extensions.At(i));
        return carried;
    }

    void RecordPhrase(const std::u16string& value, const TSortedEntries& extensions, int32_t count) {
        TLiteralPhrase& phrase = FResult.Records.emplace_back();
        phrase.AuthorsCounts.assign(static_cast<size_t>(FAuthorCount), 0);
        const int32_t test = FAuthorCount - 1;
        bool shared = false;
        for (size_t i = 0; i < extensions.Size(); ++i) {
            const int32_t author = AuthorByPosition(extensions.At(i).Position);
            phrase.AuthorsCounts.at(static_cast<size_t>(author)) += 1;
            if (author != test && phrase.Unique == -1)
                phrase.Unique = author;
            else if (phrase.Unique != author && phrase.Unique != -1 && author != test)
                shared = true;
            if (shared) phrase.Unique = -1;
        }
        for (int32_t author = 0; author < FAuthorCount; ++author) {
            if (phrase.AuthorsCounts[static_cast<size_t>(author)] == 0) continue;
            FResult.AuthorPhrases[static_cast<size_t>(author)].push_back(&phrase);
            phrase.CountAuthors += 1;
        }
        phrase.CountWords = count;
        phrase.CountInstances = static_cast<int32_t>(extensions.Size());
        phrase.Value = value;
    }

    const TCollation& FCollation;
    const int32_t FAuthorCount;
    TLiteralResult& FResult;
    TWordList FCorpus;
    std::vector<int32_t> FAuthorIndexes;
};

}  // namespace

void PartitionSortLiterally(std::vector<TLiteralPhrase*>& phrases) {
    if (phrases.size() < 2) return;
    PartitionSortRange(phrases, 0, static_cast<int32_t>(phrases.size()) - 1);
}

TLiteralResult ExtractPhrasesLiterally(const std::vector<TWordList>& authorWords,
                                       const TCollation& collation) {
    TLiteralResult result;
    TLiteralExtractor(authorWords, collation, result).Run();
    return result;
}

}  // namespace quillprint::testing
