#include "engine/PhraseOrder.h"

#include <algorithm>
#include <string>

#include "engine/Cancellation.h"

namespace quillprint {

int32_t ComparePhrases(const TPhrase& left, const TPhrase& right)
{
    const int32_t byWords = right.CountWords() - left.CountWords();
    if (byWords != 0)
        return byWords;
    return right.CountInstances() - left.CountInstances();
}

void PartitionSortPhrases(std::vector<TPhrase*>& phrases, TCancellation* cancellation)
{
    if (phrases.size() < 2)
        return;
    // Ranges still to sort; the right part of each partition is handled in
    // the loop, the left part is pushed.
    std::vector<std::pair<int64_t, int64_t>> pending{{0, static_cast<int64_t>(phrases.size()) - 1}};
    while (!pending.empty()) {
        if (cancellation)
            cancellation->Check();
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

// A phrase's text as blank-free tokens, which joined by single blanks give
// Value(): its words when no word holds a blank, else its pieces.
struct TTokens {
    const std::u16string_view* Text = nullptr;   // pieces, or null for whole words
    const std::u16string* Words = nullptr;
    const int32_t* Ids = nullptr;                // null when ids cannot be compared
    int32_t Count = 0;

    std::u16string_view operator[](int32_t k) const
    {
        return Text != nullptr ? Text[k] : std::u16string_view(Words[k]);
    }
};

TTokens WordsOf(const TPhrase& phrase)
{
    return {nullptr, phrase.Corpus()->data() + phrase.Start(),
            phrase.WordIds() != nullptr ? phrase.WordIds() + phrase.Start() : nullptr, phrase.CountWords()};
}

TTokens PiecesOf(const TPhrase& phrase)
{
    const TWordPieces& pieces = *phrase.Pieces();
    const int32_t first = pieces.FirstPiece[static_cast<size_t>(phrase.Start())];
    const int32_t end = pieces.FirstPiece[static_cast<size_t>(phrase.Start() + phrase.CountWords())];
    return {pieces.Text.data() + first, nullptr, pieces.Ids.data() + first, end - first};
}

// Token-level form of the substring test: with no blank inside a token, the
// blanks of a text are exactly its token boundaries, and `inner` occurs in
// `outer` when its first token ends a token of `outer`, its middle tokens
// equal the following tokens and its last token begins the token after them.
// Ids decide equality where both sides have them (tokens of one corpus).
bool OccursInsideByTokens(const TTokens& inner, const TTokens& outer)
{
    const int32_t n = inner.Count;
    const int32_t m = outer.Count;
    const bool byId = inner.Ids != nullptr && outer.Ids != nullptr;
    const auto sameToken = [&](int32_t innerIndex, int32_t outerIndex) {
        return byId ? inner.Ids[innerIndex] == outer.Ids[outerIndex] : inner[innerIndex] == outer[outerIndex];
    };

    if (n == 1) {
        const std::u16string_view token = inner[0];
        for (int32_t k = 0; k < m; ++k) {
            if (outer[k].find(token) != std::u16string_view::npos)
                return true;
        }
        return false;
    }
    for (int32_t k = 0; k + n <= m; ++k) {
        bool matches = true;
        for (int32_t w = 1; w + 1 < n && matches; ++w)
            matches = sameToken(w, k + w);
        if (!matches)
            continue;
        if (!sameToken(0, k) && !outer[k].ends_with(inner[0]))
            continue;
        if (!sameToken(n - 1, k + n - 1) && !outer[k + n - 1].starts_with(inner[n - 1]))
            continue;
        return true;
    }
    return false;
}

TTokens TokensOf(const TPhrase& phrase)
{
    return phrase.Pieces() != nullptr ? PiecesOf(phrase) : WordsOf(phrase);
}

// Whether the ids of two phrases' tokens come from one numbering.
bool ShareTokenIds(const TPhrase& a, const TPhrase& b)
{
    if (a.Pieces() != nullptr || b.Pieces() != nullptr)
        return a.Pieces() == b.Pieces();
    return a.WordIds() != nullptr && a.WordIds() == b.WordIds();
}

// With blanks only between tokens, the padded text of `inner` occurs in the
// padded text of `outer` exactly when its tokens equal a run of the outer
// tokens.
bool TokensOccurAsRun(const TTokens& inner, const TTokens& outer)
{
    const int32_t n = inner.Count;
    const int32_t m = outer.Count;
    const bool byId = inner.Ids != nullptr && outer.Ids != nullptr;
    const auto sameToken = [&](int32_t innerIndex, int32_t outerIndex) {
        return byId ? inner.Ids[innerIndex] == outer.Ids[outerIndex] : inner[innerIndex] == outer[outerIndex];
    };
    for (int32_t k = 0; k + n <= m; ++k) {
        int32_t w = 0;
        while (w < n && sameToken(w, k + w))
            ++w;
        if (w == n)
            return true;
    }
    return false;
}

}  // namespace

bool PhraseOccursInsideAsWords(const TPhrase& inner, const TPhrase& outer)
{
    // Without tokens to compare (a record made by hand, or words holding
    // blanks that were never cut into pieces) the texts themselves decide.
    const auto tokenized = [](const TPhrase& phrase) {
        return phrase.Corpus() != nullptr && (phrase.Pieces() != nullptr || !phrase.HasBlankInWord());
    };
    if (!tokenized(inner) || !tokenized(outer))
        return (u" " + outer.Value() + u" ").find(u" " + inner.Value() + u" ") != std::u16string::npos;
    // Two instances of the same stretch of the corpus.
    if (inner.Corpus() == outer.Corpus() && inner.Start() >= outer.Start()
        && inner.Start() + inner.CountWords() <= outer.Start() + outer.CountWords())
        return true;
    TTokens innerTokens = TokensOf(inner);
    TTokens outerTokens = TokensOf(outer);
    if (!ShareTokenIds(inner, outer))
        innerTokens.Ids = outerTokens.Ids = nullptr;
    return TokensOccurAsRun(innerTokens, outerTokens);
}

uint64_t CharMaskOf(std::u16string_view text)
{
    uint64_t mask = 0;
    for (const char16_t c : text)
        mask |= uint64_t{1} << (c & 63u);
    return mask;
}

bool PhraseOccursInside(const TPhrase& inner, const TPhrase& outer)
{
    if (inner.ValueLength() == 0 || inner.ValueLength() > outer.ValueLength())
        return false;
    if ((inner.CharMask() & ~outer.CharMask()) != 0)
        return false;
    // Two instances of the same stretch of the corpus: the inner words lie
    // within the outer ones.
    if (inner.Corpus() == outer.Corpus() && inner.Start() >= outer.Start()
        && inner.Start() + inner.CountWords() <= outer.Start() + outer.CountWords())
        return true;
    if (inner.Pieces() != nullptr && inner.Pieces() == outer.Pieces())
        return OccursInsideByTokens(PiecesOf(inner), PiecesOf(outer));
    if (inner.Corpus() != nullptr && outer.Corpus() != nullptr && !inner.HasBlankInWord() && !outer.HasBlankInWord()) {
        TTokens innerWords = WordsOf(inner);
        TTokens outerWords = WordsOf(outer);
        if (inner.WordIds() != outer.WordIds())
            innerWords.Ids = outerWords.Ids = nullptr;
        return OccursInsideByTokens(innerWords, outerWords);
    }
    return outer.Value().find(inner.Value()) != std::u16string::npos;
}

void ApplyContainmentFilter(const std::vector<TPhrase*>& phrases, TCancellation* cancellation)
{
    constexpr size_t kWindow = 1000;
    // Only phrases used by exactly two authors take part, as either side.
    // Their quick-reject data is kept in parallel arrays, since each one is
    // compared with up to a thousand others.
    std::vector<uint32_t> index;
    std::vector<int32_t> length;
    std::vector<uint64_t> mask;
    std::vector<uint8_t> valid;
    std::vector<TPhrase*> phrase;
    std::vector<int32_t> words;
    std::vector<int32_t> secondWord;
    const int32_t* sharedIds = nullptr;
    bool oneCorpus = true;
    for (size_t i = 0; i < phrases.size(); ++i) {
        TPhrase* p = phrases[i];
        if (p->CountAuthors() != 2)
            continue;
        index.push_back(static_cast<uint32_t>(i));
        length.push_back(p->ValueLength());
        mask.push_back(p->CharMask());
        valid.push_back(p->Valid() ? 1 : 0);
        phrase.push_back(p);
        words.push_back(p->CountWords());
        // Two phrases of equal length in words, neither with a blank inside
        // a word, can only match word for word: their second words must be
        // the same. -1 where that does not apply.
        const bool keyed = p->WordIds() != nullptr && !p->HasBlankInWord() && p->CountWords() >= 3;
        secondWord.push_back(keyed ? p->WordIds()[p->Start() + 1] : -1);
        if (sharedIds == nullptr)
            sharedIds = p->WordIds();
        oneCorpus = oneCorpus && p->WordIds() == sharedIds;
    }
    // Word ids compare only within one corpus.
    if (!oneCorpus)
        std::fill(secondWord.begin(), secondWord.end(), -1);
    size_t n = index.size();
    std::vector<uint32_t> suspects(kWindow);
    std::vector<uint8_t> maybeInside(kWindow);
    size_t discardedAhead = 0;
    size_t last = 0;   // one past the window of the current outer phrase
    for (size_t a = 0; a < n; ++a) {
        // Each outer phrase compares with up to a thousand others.
        if (cancellation)
            cancellation->Tick(64);
        // Phrases discarded ahead are dropped from the arrays now and then,
        // so that long runs of them are not walked again by every window;
        // at most an eighth of what remains, so that compacting stays cheap.
        if (discardedAhead > std::max<size_t>(4096, (n - a) / 8)) {
            size_t kept = a + 1;
            for (size_t b = a + 1; b < n; ++b) {
                if (!valid[b])
                    continue;
                index[kept] = index[b];
                length[kept] = length[b];
                mask[kept] = mask[b];
                words[kept] = words[b];
                secondWord[kept] = secondWord[b];
                valid[kept] = 1;
                phrase[kept] = phrase[b];
                ++kept;
            }
            n = kept;
            last = 0;
            discardedAhead = 0;
        }
        if (!valid[a])
            continue;
        const uint64_t outerMask = mask[a];
        const int32_t outerLength = length[a];
        const int32_t outerWords = words[a];
        const int32_t outerSecond = secondWord[a];
        // The window only moves forward, so its end does too.
        const size_t windowEnd = static_cast<size_t>(index[a]) + kWindow;
        last = std::max(last, a + 1);
        while (last < n && index[last] <= windowEnd)
            ++last;
        // First a branch-free pass that marks the phrases which may lie
        // inside the outer one (simple enough for the compiler to vectorise);
        // deciding one of them does not affect the others, so they can be
        // decided afterwards.
        const size_t first = a + 1;
        for (size_t b = first; b < last; ++b) {
            const bool otherSecondWord = (words[b] == outerWords) & (secondWord[b] >= 0) & (outerSecond >= 0)
                & (secondWord[b] != outerSecond);
            maybeInside[b - first] = valid[b] & (length[b] <= outerLength) & ((mask[b] & ~outerMask) == 0)
                & !otherSecondWord;
        }
        size_t count = 0;
        for (size_t b = first; b < last; ++b) {
            suspects[count] = static_cast<uint32_t>(b);
            count += maybeInside[b - first];
        }
        for (size_t k = 0; k < count; ++k) {
            const uint32_t b = suspects[k];
            if (PhraseOccursInside(*phrase[b], *phrase[a])) {
                valid[b] = 0;
                phrase[b]->SetValid(false);
                ++discardedAhead;
            }
        }
    }
}

}  // namespace quillprint
